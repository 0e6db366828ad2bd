// Start-up as the program runs it: command line, first start, login, main window. The dialogs are
// answered through the application's seam instead of a modal loop.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <map>
#include <sys/stat.h>

#include "app/CKorvanApp.h"
#include "app/CMainFrame.h"
#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "support/TempDir.h"
#include "users/ui/CFirstUserDlg.h"
#include "users/ui/CLoginDlg.h"

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {
CKorvanApp& app() {
    return *static_cast<CKorvanApp*>(QCoreApplication::instance());
}

QStringList argsFor(const TempDir& dir) {
    return {QStringLiteral("korvan"), QStringLiteral("--data-dir"),
            QString::fromStdString(dir.path().string())};
}

// Plays the operator in a login or first-user dialog: types the texts and presses Enter in the
// password box as often as asked.
int typeAndEnter(QDialog& dialog, const QString& name, const QString& password, int times = 1) {
    dialog.show();
    if (auto* nameEdit = dialog.findChild<QLineEdit*>("nameEdit"))
        nameEdit->setText(name);
    // The first-user dialog asks for the password twice; Enter finishes in the last box.
    auto* passwordEdit = dialog.findChild<QLineEdit*>("confirmEdit");
    if (passwordEdit)
        dialog.findChild<QLineEdit*>("passwordEdit")->setText(password);
    else
        passwordEdit = dialog.findChild<QLineEdit*>("passwordEdit");
    passwordEdit->setFocus();
    for (int i = 0; i < times && dialog.isVisible(); ++i) {
        passwordEdit->setText(password);
        QTest::keyClick(passwordEdit, Qt::Key_Return);
    }
    return dialog.result();
}
} // namespace

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void cancelledLoginEndsWithStatusZero() {
        TempDir dir;
        writeBytes(dir / "record/yh.rec", "anna\f42\r\n");
        int dialogs = 0, logins = 0;
        DialogRunner::Scope runner([&](QDialog& dialog) {
            ++dialogs;
            logins += dynamic_cast<CLoginDlg*>(&dialog) != nullptr;
            return int(QDialog::Rejected);
        });
        auto status = app().startUp(argsFor(dir));
        QCOMPARE(dialogs, 1);
        QCOMPARE(logins, 1);
        QVERIFY(status.has_value());
        QCOMPARE(*status, 0);
        QVERIFY(!app().mainFrame());
    }

    void userFileThatCannotBeReadIsReportedAndKept() {
        TempDir dir;
        std::filesystem::create_directories(dir / "record/yh.rec"); // exists, is no file
        writeBytes(dir / "record/language.rec", "english");
        Prompt::Script prompt;
        int dialogs = 0;
        DialogRunner::Scope runner([&](QDialog&) { return ++dialogs, int(QDialog::Accepted); });
        auto status = app().startUp(argsFor(dir));
        QVERIFY(status.has_value());
        QCOMPARE(*status, 1);
        QCOMPARE(dialogs, 0); // neither a first user over it nor a login nobody can pass
        QVERIFY(prompt.last().starts_with("Not a regular file"));
        QVERIFY(std::filesystem::is_directory(dir / "record/yh.rec"));
        QVERIFY(!app().mainFrame());
    }

    void thirdWrongPasswordEndsWithStatusZero() {
        TempDir dir;
        writeBytes(dir / "record/yh.rec", "anna\f42\r\n");
        writeBytes(dir / "record/language.rec", "english");
        Prompt::Script prompt;
        DialogRunner::Scope runner(
            [](QDialog& dialog) { return typeAndEnter(dialog, {}, "bad", 5); });
        auto status = app().startUp(argsFor(dir));
        QVERIFY(status.has_value());
        QCOMPARE(*status, 0);
        QCOMPARE(prompt.shown().size(), std::size_t(3));
        QCOMPARE(prompt.last(), std::string("Password error 3 times, software shutdown"));
        QVERIFY(!app().mainFrame());
    }

    void firstStartCreatesTheUserThenLogsIn() {
        TempDir dir;
        writeBytes(dir / "record/language.rec", "chinese");
        QStringList seen;
        DialogRunner::Scope runner([&](QDialog& dialog) {
            seen << dialog.metaObject()->className();
            return typeAndEnter(dialog, "boss", "777");
        });
        auto status = app().startUp(argsFor(dir));
        QVERIFY(!status.has_value());
        QCOMPARE(seen, (QStringList{"korvan::CFirstUserDlg", "korvan::CLoginDlg"}));
        QCOMPARE(readBytes(dir / "record/yh.rec"), std::string("boss\f777\r\n"));
        struct stat st {};
        QCOMPARE(::stat((dir / "record/yh.rec").c_str(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);
        // The new data directory got its defaults.
        QVERIFY(std::filesystem::exists(dir / "record/tx.rec"));
        QVERIFY(std::filesystem::exists(dir / "record/spsm.rec"));
        CMainFrame* frame = app().mainFrame();
        QVERIFY(frame && frame->isVisible());
        QCOMPARE(frame->size(), QSize(850, 600));
        QCOMPARE(frame->windowTitle(), QStringLiteral("Korvan"));
        QCOMPARE(frame->menu(2)->title(), QStringLiteral("查询"));
        // Every window carries the application icon, drawn in each size a desktop asks for.
        QList<QSize> sizes;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            sizes << QSize(size, size);
        QCOMPARE(frame->windowIcon().availableSizes(), sizes);
        frame->close();
    }

    void loginListsTheNamesInListOrderAndPreselectsTheFirst() {
        TempDir dir;
        writeBytes(dir / "record/yh.rec", "bob\f1\r\nDemo\f2\r\nadmin\f3\r\n");
        writeBytes(dir / "record/language.rec", "english");
        const std::map<QString, QString> passwords{{"bob", "1"}, {"Demo", "2"}, {"admin", "3"}};
        QStringList listed, expected;
        QString chosen;
        DialogRunner::Scope runner([&](QDialog& dialog) {
            auto& login = dynamic_cast<CLoginDlg&>(dialog);
            for (const auto& name : login.check().sortedNames())
                expected << QString::fromStdString(name);
            auto* box = dialog.findChild<QComboBox*>("userBox");
            for (int i = 0; i < box->count(); ++i)
                listed << box->itemText(i);
            chosen = box->currentText();
            // The preselected name is the one OK checks: its password alone logs in.
            return typeAndEnter(dialog, {}, passwords.at(chosen));
        });
        auto status = app().startUp(argsFor(dir));
        QVERIFY(!status.has_value());
        QCOMPARE(listed, expected); // the box keeps the login's order; it does not sort again
        QCOMPARE(chosen, expected.value(0));
        app().mainFrame()->close();
    }

    void firstStartCancelledEndsWithStatusZero() {
        TempDir dir;
        DialogRunner::Scope runner([](QDialog&) { return int(QDialog::Rejected); });
        auto status = app().startUp(argsFor(dir));
        QVERIFY(status.has_value());
        QCOMPARE(*status, 0);
        QVERIFY(!std::filesystem::exists(dir / "record/yh.rec"));
    }

    void badCommandLineIsAUsageError() {
        DialogRunner::Scope runner([](QDialog&) { return int(QDialog::Rejected); });
        auto status = app().startUp({QStringLiteral("korvan"), QStringLiteral("--bogus")});
        QVERIFY(status.has_value());
        QCOMPARE(*status, 2);
    }
};

int main(int argc, char** argv) {
    CKorvanApp application(argc, argv);
    StartUpTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "StartUpTest.moc"
