#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/MenuCaptions.h"
#include "common/Prompt.h"
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

    void aboutBoxButtonFollowsOnlyChinese() {
        for (auto [flag, caption] :
             {std::pair{kChinese, "确定"}, {kEnglish, "OK"}, {"French", "OK"}}) {
            UiData data(flag);
            CMainFrame frame;
            QString seen, title;
            frame.runScreen = [&](QDialog& screen) {
                seen = screen.findChild<QPushButton*>("okButton")->text();
                title = screen.windowTitle();
                return 0;
            };
            frame.runCommand(About);
            QCOMPARE(seen, QString::fromUtf8(caption));
            QCOMPARE(title, QStringLiteral("About Korvan"));
        }
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

    void languageSwitchThatCannotWriteSaysSo() {
        UiData data(kEnglish);
        std::filesystem::create_directories(data.record("language.rec")); // a folder in the way
        Prompt::Script prompt;
        CMainFrame frame;
        frame.action(LanguageChinese)->trigger();
        QCOMPARE(Language::flag(), std::string(kChinese)); // the switch holds for this run
        QCOMPARE(frame.menu(3)->title(), QStringLiteral("参数设置"));
        QVERIFY(prompt.last().rfind("不是普通文件", 0) == 0);
    }

    void screenCommandOpensItsScreen() {
        UiData data(kEnglish);
        data.write("yh.rec", "anna\f1\r\n");
        CMainFrame frame;
        QString opened;
        frame.runScreen = [&](QDialog& screen) {
            opened = screen.metaObject()->className();
            return 0;
        };
        frame.action(UserSettings)->trigger();
        QCOMPARE(opened, QStringLiteral("korvan::CYhSetDlg"));
        opened.clear();
        frame.action(DoBusiness)->trigger(); // disabled: nothing opens
        QVERIFY(opened.isEmpty());
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
