#include "CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "AppIcons.h"
#include "CAboutDlg.h"
#include "MenuCaptions.h"
#include "commodity/ui/CSpSetDlg.h"
#include "commodity/ui/CSpsmSetDlg.h"
#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/QtText.h"
#include "common/ui/QtTranslations.h"
#include "labeldesign/ui/CBqSetDlg.h"
#include "link/ui/CClbSetDlg.h"
#include "link/ui/CCxsjDlg.h"
#include "link/ui/CTxSetDlg.h"
#include "records/ui/CDzcjlDlg.h"
#include "records/ui/CCcsSetDlg.h"
#include "users/ui/CYhSetDlg.h"

namespace korvan {

using namespace MenuCaptions;

namespace {
const Tr kReady{"就绪", "Ready"};
} // namespace

const std::map<int, CMainFrame::ScreenFactory>& CMainFrame::screens() {
    static const std::map<int, ScreenFactory> factories{
        {UserSettings, [](QWidget* parent) -> QDialog* { return new CYhSetDlg(parent); }},
        {CommoditySettings, [](QWidget* parent) -> QDialog* { return new CSpSetDlg(parent); }},
        {CommodityDescription, [](QWidget* parent) -> QDialog* { return new CSpsmSetDlg(parent); }},
        {LabelSettings, [](QWidget* parent) -> QDialog* { return new CBqSetDlg(parent); }},
        {ScaleParameters, [](QWidget* parent) -> QDialog* { return new CCcsSetDlg(parent); }},
        {ScaleReport, [](QWidget* parent) -> QDialog* { return new CDzcjlDlg(parent); }},
        {CommunicationSettings, [](QWidget* parent) -> QDialog* { return new CTxSetDlg(parent); }},
        {ProgramUpdate, [](QWidget* parent) -> QDialog* { return new CCxsjDlg(parent); }},
        {Scales, [](QWidget* parent) -> QDialog* { return new CClbSetDlg(parent); }},
    };
    return factories;
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Korvan"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(850, 600);
    setContextMenuPolicy(Qt::NoContextMenu);
    buildMenu();
    buildToolBar();
    buildStatusBar();
    // The client area is an empty grey form: every function lives in a screen of the menu.
    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    client->setBackgroundRole(QPalette::Dark);
    setCentralWidget(client);
}

void CMainFrame::buildMenu() {
    for (int m = 0; m < kMenus; ++m)
        menus_.push_back(menuBar()->addMenu(QString()));
    // The File menu starts with an empty separator line.
    menus_[0]->addSeparator();
    for (const Entry& entry : kEntries) {
        if (entry.item < 0)
            continue;
        QAction* action = menus_[static_cast<std::size_t>(entry.menu)]->addAction(
            qtr(entry.caption, Lang::English));
        action->setData(entry.command);
        actions_[entry.command] = action;
        connect(action, &QAction::triggered, this, [this, c = entry.command] { runCommand(c); });
    }
    // Design-time captions: English, as the layouts of every screen.
    for (const Entry& entry : kEntries)
        if (entry.item < 0)
            menus_[static_cast<std::size_t>(entry.menu)]->setTitle(
                qtr(entry.caption, Lang::English));

    for (auto& [command, action] : actions_) {
        const bool standard = command < DoBusiness;
        if (!standard && command != LanguageChinese && command != LanguageEnglish)
            action->setEnabled(screens().count(command) > 0);
    }
    // No document windows: there is nothing for Close to close.
    actions_[Close]->setEnabled(false);
    actions_[Close]->setStatusTip(QStringLiteral("CLOSE"));
    actions_[Exit]->setStatusTip(QStringLiteral("EXIT"));
    actions_[About]->setStatusTip(QStringLiteral("HELP"));
    actions_[Toolbar]->setStatusTip(QStringLiteral("TOOLBAR"));
    actions_[StatusBar]->setStatusTip(QStringLiteral("STATUS_BAR"));
    actions_[LanguageChinese]->setCheckable(true);
    actions_[LanguageEnglish]->setCheckable(true);
    actions_[Toolbar]->setCheckable(true);
    actions_[StatusBar]->setCheckable(true);
    actions_[Toolbar]->setChecked(true);
    actions_[StatusBar]->setChecked(true);
}

void CMainFrame::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Standard"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setMovable(true);
    auto add = [this](const char* theme, const char* text) {
        QAction* action = toolBar_->addAction(AppIcons::themed(QString::fromLatin1(theme)),
                                              QString::fromLatin1(text));
        action->setEnabled(false);
        return action;
    };
    add("edit-cut", "Cut");
    add("edit-copy", "Copy");
    add("edit-paste", "Paste");
    toolBar_->addSeparator();
    add("document-print", "Print");
    QAction* about =
        toolBar_->addAction(QIcon::fromTheme(QStringLiteral("help-about"),
                                             style()->standardIcon(QStyle::SP_MessageBoxQuestion)),
                            QStringLiteral("About"));
    about->setStatusTip(QStringLiteral("HELP"));
    connect(about, &QAction::triggered, this, [this] { runCommand(About); });
}

void CMainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QString::fromLatin1(indicator), bar);
        pane->setObjectName(QString::fromLatin1(indicator).toLower() + QStringLiteral("Pane"));
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(40);
        pane->setEnabled(false); // the lock states are not readable portably; shown greyed
        bar->addPermanentWidget(pane);
    }
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& text) {
        if (text.isEmpty())
            bar->showMessage(QString::fromUtf8(kReady.get()));
    });
    bar->showMessage(QString::fromUtf8(kReady.get()));
}

QAction* CMainFrame::action(int command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* CMainFrame::menu(int position) const {
    return menus_.at(static_cast<std::size_t>(position));
}

void CMainFrame::setMenuCaptions() {
    const Lang lang = Language::current();
    // The Language menu marks the language in use (neither, for a flag that is no language).
    actions_[LanguageChinese]->setChecked(lang == Lang::Chinese);
    actions_[LanguageEnglish]->setChecked(lang == Lang::English);
    if (lang == Lang::Unknown)
        return;
    for (const Entry& entry : kEntries) {
        if (entry.item < 0)
            menus_[static_cast<std::size_t>(entry.menu)]->setTitle(qtr(entry.caption, lang));
        else
            actions_[entry.command]->setText(qtr(entry.caption, lang));
    }
}

void CMainFrame::switchLanguage(const char* flag) {
    static const Tr kNotSaved{"语言设置无法保存, 仅在本次运行中有效",
                              "The language setting could not be saved; it holds until the "
                              "program ends"};
    IoResult result = Language::save(Language::file(DataDir::current()), flag);
    setMenuCaptions();
    QtTranslations::follow(Language::current());
    statusBar()->showMessage(QString::fromUtf8(kReady.get()));
    // Both lines in the language just chosen: the flag is already switched.
    if (!result)
        Prompt::showMessage(std::string(kNotSaved.get()) + "\n" + result.message());
}

void CMainFrame::runCommand(int command) {
    switch (command) {
    case Close:
        return;
    case Exit:
        close();
        return;
    case Toolbar:
        toolBar_->setHidden(!toolBar_->isHidden());
        actions_[Toolbar]->setChecked(!toolBar_->isHidden());
        return;
    case StatusBar:
        statusBar()->setHidden(!statusBar()->isHidden());
        actions_[StatusBar]->setChecked(!statusBar()->isHidden());
        return;
    case About: {
        CAboutDlg about(this);
        DialogRunner::run(about);
        return;
    }
    case LanguageChinese:
        switchLanguage(kChinese);
        return;
    case LanguageEnglish:
        switchLanguage(kEnglish);
        return;
    default:
        break;
    }
    auto it = screens().find(command);
    if (it == screens().end())
        return;
    std::unique_ptr<QDialog> screen(it->second(this));
    DialogRunner::run(*screen);
}

} // namespace korvan
