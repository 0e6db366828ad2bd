#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/Prompt.h"
#include "common/ui/CTsDlg.h"
#include "common/ui/DataEntryDialog.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/QtText.h"

using namespace korvan;

namespace {
class EntryScreen : public DataEntryDialog {
public:
    EntryScreen() {
        first = new QLineEdit(this);
        second = new QLineEdit(this);
        ok = new QPushButton(QStringLiteral("OK"), this);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        settleButtons();
    }
    QLineEdit* first;
    QLineEdit* second;
    QPushButton* ok;
};
} // namespace

class CommonUiTest : public QObject {
    Q_OBJECT
private slots:
    void promptOkSaysYesAndCancelLeavesTheText() {
        Language::setFlag(kChinese);
        Prompt::text() = QStringLiteral("删除所有数据?").toStdString();
        {
            CTsDlg dialog;
            QCOMPARE(dialog.findChild<QLabel*>("noteLabel")->text(),
                     QStringLiteral("删除所有数据?"));
            QCOMPARE(dialog.findChild<QPushButton*>("okButton")->text(), QStringLiteral("确定"));
            QCOMPARE(dialog.findChild<QPushButton*>("cancelButton")->text(),
                     QStringLiteral("取消"));
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Korvan"));
            dialog.show();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(QString::fromStdString(Prompt::text()), QStringLiteral("删除所有数据?"));
        {
            CTsDlg dialog;
            dialog.show();
            QTest::keyClick(&dialog, Qt::Key_Return); // OK is the default button
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(QString::fromStdString(Prompt::text()), QStringLiteral("yes"));
    }

    void promptCaptionsForEnglishAndUnknownAndEmptyText() {
        for (const char* flag : {kEnglish, "English"}) {
            Language::setFlag(flag);
            Prompt::text().clear();
            CTsDlg dialog;
            QCOMPARE(dialog.findChild<QPushButton*>("okButton")->text(), QStringLiteral("OK"));
            QCOMPARE(dialog.findChild<QPushButton*>("cancelButton")->text(),
                     QStringLiteral("Cancel"));
            QVERIFY(dialog.findChild<QLabel*>("noteLabel")->text().isEmpty());
        }
    }

    void promptStandsOverTheModalScreenNotTheMainWindow() {
        Language::setFlag(kEnglish);
        QWidget frame; // the main window, away from the screen
        frame.setGeometry(0, 0, 300, 200);
        frame.show();
        QDialog screen; // a screen run modally over it
        screen.setGeometry(250, 150, 500, 400);
        screen.setModal(true);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));

        CTsDlg::install();
        QWidget* parent = nullptr;
        QPoint centre;
        DialogRunner::Scope runner([&](QDialog& dialog) {
            dialog.show();
            parent = dialog.parentWidget();
            centre = dialog.frameGeometry().center();
            QTest::keyClick(&dialog, Qt::Key_Return);
            return dialog.result();
        });
        QVERIFY(Prompt::ask("Delete all?"));
        QCOMPARE(parent, &screen);
        QVERIFY((centre - screen.frameGeometry().center()).manhattanLength() <= 2);
    }

    void enterMovesOnAndOnlyOkCloses() {
        EntryScreen screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        screen.first->setFocus();
        QTest::keyClick(screen.first, Qt::Key_Return);
        QVERIFY(screen.isVisible());
        QCOMPARE(QApplication::focusWidget(), screen.second);
        QTest::keyClick(screen.second, Qt::Key_Enter);
        QVERIFY(screen.isVisible());
        QCOMPARE(QApplication::focusWidget(), screen.ok);
        QTest::keyClick(screen.ok, Qt::Key_Return);
        QVERIFY(!screen.isVisible());
        QCOMPARE(screen.result(), int(QDialog::Accepted));
    }

    void textEdgeKeepsBytesAndShowsBadOnes() {
        QCOMPARE(fromGbk("\xC6\xBB\xB9\xFB"), QStringLiteral("苹果"));
        QCOMPARE(toGbk(QStringLiteral("苹果")), std::string("\xC6\xBB\xB9\xFB"));
        QCOMPARE(fromGbk("a\xFF"), QStringLiteral("a\uFFFD"));
    }
};

QTEST_MAIN(CommonUiTest)
#include "CommonUiTest.moc"
