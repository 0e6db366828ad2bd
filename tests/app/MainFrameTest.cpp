#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/AppIcons.h"
#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/MenuCaptions.h"
#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "support/UiData.h"
#include "users/ui/CYhSetDlg.h"

using namespace korvan;
using namespace korvan::MenuCaptions;
using korvan::test::UiData;

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void captionsFollowTheLanguage() {
        UiData data(kEnglish);
        CMainFrame frame;
        frame.setMenuCaptions();
        QCOMPARE(frame.menu(2)->title(), QStringLiteral("Query"));
        QCOMPARE(frame.action(ReportForm)->text(), QStringLiteral("Report form"));
        QCOMPARE(frame.action(ScaleReport)->text(), QStringLiteral("Scale Report"));
        QCOMPARE(frame.menu(7)->title(), QStringLiteral("Language"));

        Language::setFlag(kChinese);
        frame.setMenuCaptions();
        QCOMPARE(frame.menu(0)->title(), QStringLiteral("文件(&F)"));
        QCOMPARE(frame.action(About)->text(), QStringLiteral("关于 Korvan(&A)"));
        QCOMPARE(frame.action(LanguageEnglish)->text(), QStringLiteral("英文(English)"));

        // An unknown flag leaves the captions as they are.
        Language::setFlag("English");
        frame.setMenuCaptions();
        QCOMPARE(frame.menu(2)->title(), QStringLiteral("查询"));
        CMainFrame fresh;
        fresh.setMenuCaptions();
        QCOMPARE(fresh.menu(4)->title(), QStringLiteral("Data Settings")); // design-time texts
    }

    void languageMenuSwitchesMarkReadyAndQtTexts() {
        UiData data(kEnglish);
        CMainFrame frame;
        for (const char* flag : {kChinese, kChinese, kEnglish}) { // the same item twice too
            const bool zh = flag == kChinese;
            frame.action(zh ? LanguageChinese : LanguageEnglish)->trigger();
            QVERIFY(frame.action(LanguageChinese)->isChecked() == zh &&
                    frame.action(LanguageEnglish)->isChecked() == !zh);
            QCOMPARE(frame.statusBar()->currentMessage(), zh ? "就绪" : "Ready");
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                     zh ? "取消" : "Cancel");
        }
    }

    void menuLayoutCommandsAndDisabledItems() {
        UiData data(kEnglish);
        CMainFrame frame;
        QCOMPARE(frame.menuBar()->actions().size(), kMenus);
        // Items sit at their positions with their command numbers; File starts with a separator.
        QVERIFY(frame.menu(0)->actions().at(0)->isSeparator());
        for (const Entry& entry : kEntries) {
            if (entry.item < 0)
                continue;
            QAction* action = frame.menu(entry.menu)->actions().at(entry.item);
            QCOMPARE(action->data().toInt(), entry.command);
        }
        QVERIFY(!frame.action(DoBusiness)->isEnabled());
        QVERIFY(!frame.action(ReportForm)->isEnabled());
        QVERIFY(frame.action(UserSettings)->isEnabled());
        QVERIFY(frame.action(About)->isEnabled());
        QVERIFY(frame.action(LanguageChinese)->isEnabled());
        QCOMPARE(frame.size(), QSize(850, 600));
        QCOMPARE(frame.minimumSize(), frame.maximumSize());
        QCOMPARE(frame.windowTitle(), QStringLiteral("Korvan"));
        QVERIFY(!(frame.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(frame.contextMenuPolicy(), Qt::NoContextMenu);
        QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
        QVERIFY(frame.findChild<QLabel*>("capPane") && frame.findChild<QLabel*>("scrlPane"));
    }

    void viewItemsToggleBars() {
        UiData data(kEnglish);
        CMainFrame frame;
        auto* toolBar = frame.findChild<QToolBar*>("toolBar");
        QVERIFY(frame.action(Toolbar)->isChecked());
        frame.runCommand(Toolbar);
        QVERIFY(toolBar->isHidden());
        QVERIFY(!frame.action(Toolbar)->isChecked());
        frame.runCommand(StatusBar);
        QVERIFY(frame.statusBar()->isHidden());
        QVERIFY(!frame.action(StatusBar)->isChecked());
        frame.runCommand(Toolbar);
        QVERIFY(!toolBar->isHidden());
        // Tool bar: Cut, Copy, Paste, a gap, Print, About; only About works.
        const auto actions = toolBar->actions();
        QCOMPARE(actions.size(), 6);
        QVERIFY(actions.at(3)->isSeparator());
        for (int i : {0, 1, 2, 4})
            QVERIFY(!actions.at(i)->isEnabled());
        QVERIFY(actions.at(5)->isEnabled());
    }

    void toolBarPicturesMatchTheirTooltips() {
        // Without a desktop theme every picture is our own drawing of what the tooltip says.
        const QString theme = QIcon::themeName();
        QIcon::setThemeName(QString());
        UiData data(kEnglish);
        CMainFrame frame;
        QIcon::setThemeName(theme);
        const auto actions = frame.findChild<QToolBar*>("toolBar")->actions();
        const std::pair<int, const char*> expected[] = {
            {0, "edit-cut"}, {1, "edit-copy"}, {2, "edit-paste"}, {4, "document-print"}};
        for (auto [index, name] : expected) {
            QAction* action = actions.at(index);
            const QImage shown = action->icon().pixmap(16, 16).toImage();
            const QImage drawn =
                AppIcons::builtIn(QString::fromLatin1(name)).pixmap(16, 16).toImage();
            QVERIFY2(!drawn.isNull() && shown == drawn, name);
            QVERIFY(QString::fromLatin1(name).endsWith(action->toolTip().toLower()));
        }
    }

    void aboutBoxButtonFollowsOnlyChinese() {
        for (auto [flag, caption] :
             {std::pair{kChinese, "确定"}, {kEnglish, "OK"}, {"French", "OK"}}) {
            UiData data(flag);
            CMainFrame frame;
            QString seen, title;
            DialogRunner::Scope runner([&](QDialog& screen) {
                seen = screen.findChild<QPushButton*>("okButton")->text();
                title = screen.windowTitle();
                return 0;
            });
            frame.runCommand(About);
            QCOMPARE(seen, QString::fromUtf8(caption));
            QCOMPARE(title, QStringLiteral("About Korvan"));
        }
    }

    void aboutBoxShowsTheIconBesideTheTexts() {
        UiData data(kEnglish);
        CAboutDlg about;
        auto* icon = about.findChild<QLabel*>("iconLabel");
        auto* version = about.findChild<QLabel*>("versionLabel");
        QVERIFY(!icon->pixmap().isNull());
        QCOMPARE(icon->pixmap().toImage(), AppIcons::application().pixmap(32, 32).toImage());
        // Left of the texts, level with them.
        const int middle = icon->geometry().center().y();
        QVERIFY(icon->geometry().right() < version->geometry().left());
        QVERIFY(middle >= version->geometry().top() &&
                middle <= about.findChild<QLabel*>("buildLabel")->geometry().bottom());
    }

    void languageSwitchWritesSevenBytesAndRenamesAtOnce() {
        UiData data(kEnglish);
        CMainFrame frame;
        frame.setMenuCaptions();
        frame.action(LanguageChinese)->trigger();
        QCOMPARE(data.read("language.rec"), std::string("chinese"));
        QCOMPARE(frame.menu(3)->title(), QStringLiteral("参数设置"));
        frame.action(LanguageChinese)->trigger();
        QCOMPARE(data.read("language.rec"), std::string("chinese"));
        frame.action(LanguageEnglish)->trigger();
        QCOMPARE(data.read("language.rec"), std::string("english"));
        QCOMPARE(frame.menu(3)->title(), QStringLiteral("Parameter Settings"));
    }

    void languageSwitchThatCannotWriteSaysSoInTheNewLanguage() {
        struct Case {
            const char* from;
            int command;
            const char* flag;
            const char* menuTitle;
            const char* firstLine;
            const char* reason;
        };
        const Case cases[] = {
            {kEnglish, LanguageChinese, kChinese, "参数设置", "语言设置无法保存", "不是普通文件"},
            {kChinese, LanguageEnglish, kEnglish, "Parameter Settings",
             "The language setting could not be saved", "Not a regular file"},
        };
        for (const Case& c : cases) {
            UiData data(c.from);
            std::filesystem::create_directories(data.record("language.rec")); // a folder in the way
            Prompt::Script prompt;
            CMainFrame frame;
            frame.setMenuCaptions();
            frame.action(c.command)->trigger();
            QCOMPARE(Language::flag(), std::string(c.flag)); // the switch holds for this run
            QCOMPARE(frame.menu(3)->title(), QString::fromUtf8(c.menuTitle));
            QCOMPARE(prompt.shown().size(), std::size_t(1));
            QString message = QString::fromStdString(prompt.last());
            QVERIFY2(message.startsWith(QString::fromUtf8(c.firstLine)), qPrintable(message));
            QVERIFY2(message.contains(QString::fromUtf8(c.reason)), qPrintable(message));
            // Apart from the path, not a word of the other language.
            message.remove(QString::fromStdString(data.record("language.rec").string()));
            const bool chinese = c.flag == std::string(kChinese);
            for (QChar ch : message)
                QVERIFY2(chinese ? !ch.isLetter() || ch.unicode() > 0x2E80 : ch.unicode() < 0x80,
                         qPrintable(message));
        }
    }

    void screenCommandOpensItsScreen() {
        UiData data(kEnglish);
        data.write("yh.rec", "anna\f1\r\n");
        CMainFrame frame;
        QString opened;
        DialogRunner::Scope runner([&](QDialog& screen) {
            opened = screen.metaObject()->className();
            return 0;
        });
        frame.action(UserSettings)->trigger();
        QCOMPARE(opened, QStringLiteral("korvan::CYhSetDlg"));
        opened.clear();
        frame.action(DoBusiness)->trigger(); // disabled: nothing opens
        QVERIFY(opened.isEmpty());
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
