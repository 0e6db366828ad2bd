#include "CTsDlg.h"
#include "ui_CTsDlg.h"

#include <QApplication>

#include "DialogRunner.h"
#include "QtText.h"
#include "common/Prompt.h"

namespace korvan {
namespace {
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};

QPointer<QWidget>& namedScreen() {
    static QPointer<QWidget> screen;
    return screen;
}
} // namespace

CTsDlg::CTsDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CTsDlg>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const Lang lang = Language::current();
    ui_->okButton->setText(qtr(kOk, lang));
    ui_->cancelButton->setText(qtr(kCancel, lang));
    ui_->noteLabel->setText(qtr(Prompt::text()));
    ui_->okButton->setDefault(true);
    connect(ui_->okButton, &QPushButton::clicked, this, &CTsDlg::onOk);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CTsDlg::~CTsDlg() = default;

void CTsDlg::onOk() {
    Prompt::text() = Prompt::kYes;
    accept();
}

QWidget* CTsDlg::askingScreen() {
    QWidget* screen = namedScreen();
    if (!screen || !screen->isVisible())
        screen = QApplication::activeModalWidget();
    if (!screen)
        screen = QApplication::activeWindow();
    return screen ? screen->window() : nullptr;
}

CTsDlg::Screen::Screen(QWidget* screen) : previous_(namedScreen()) {
    namedScreen() = screen ? screen->window() : nullptr;
}

CTsDlg::Screen::~Screen() {
    namedScreen() = previous_;
}

void CTsDlg::install() {
    Prompt::setPresenter([](const std::string&) {
        // A parent, not the desktop: the prompt opens centred on the screen that asked.
        QPointer<QWidget> screen = askingScreen();
        CTsDlg dialog(screen);
        const bool ok = DialogRunner::run(dialog) == QDialog::Accepted;
        // Hand the keyboard back at once; a window manager may otherwise leave the focus
        // nowhere until a click.
        if (screen && screen->isVisible())
            screen->activateWindow();
        return ok;
    });
}

} // namespace korvan
