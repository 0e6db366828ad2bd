#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "support/UiType.h"
#include <sys/stat.h>

#include "common/Prompt.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "users/ui/CFirstUserDlg.h"
#include "users/ui/CLoginDlg.h"
#include "users/ui/CYhSetDlg.h"

using namespace korvan;
using korvan::test::UiData;

namespace {
using korvan::test::child;

// A login opened on a data directory holding the given user and language files.
struct LoginScene {
    UiData data;
    Prompt::Script prompt;
    std::unique_ptr<CLoginDlg> login;
    bool exposed = false;
    LoginScene(const std::string& users, const std::string& language) {
        data.write("yh.rec", users);
        data.write("language.rec", language);
        login = std::make_unique<CLoginDlg>();
        login->show();
        exposed = QTest::qWaitForWindowExposed(login.get());
    }
};

// The users screen opened on the given user file, shown, with its list and boxes at hand.
struct UsersScene {
    UiData data;
    Prompt::Script prompt;
    std::unique_ptr<CYhSetDlg> screen;
    QTableView* list = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* password = nullptr;
    bool exposed = false;
    explicit UsersScene(const std::string& users, const std::string& language = kEnglish)
        : data(language) {
        data.write("yh.rec", users);
        screen = std::make_unique<CYhSetDlg>();
        screen->show();
        exposed = QTest::qWaitForWindowExposed(screen.get());
        list = child<QTableView>(screen.get(), "userList");
        name = child<QLineEdit>(screen.get(), "nameEdit");
        password = child<QLineEdit>(screen.get(), "passwordEdit");
    }
};

void clickRow(QTableView* view, int row) {
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class UsersUiTest : public QObject {
    Q_OBJECT
private slots:
    void loginOpensWithSortedUsersAndTheFileLanguage() {
        UiData data(""); // the login loads the language itself
        data.write("yh.rec", "zed\f1\r\nDemo\f2\r\nbob\f3\r\nadmin\f4\r\n");
        data.write("language.rec", "chinese");
        CLoginDlg login;
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        auto* box = child<QComboBox>(&login, "userBox");
        // As a list box sorts: ignoring case; the first is preselected.
        QStringList listed;
        for (int i = 0; i < box->count(); ++i)
            listed << box->itemText(i);
        QCOMPARE(listed, (QStringList{"admin", "bob", "Demo", "zed"}));
        QCOMPARE(box->currentText(), QStringLiteral("admin"));
        QCOMPARE(QString::fromStdString(login.userName()), QStringLiteral("admin"));
        QCOMPARE(login.windowTitle(), QStringLiteral("Korvan-2016"));
        QCOMPARE(child<QLabel>(&login, "userLabel")->text(), QStringLiteral("用户名"));
        QCOMPARE(child<QPushButton>(&login, "cancelButton")->text(), QStringLiteral("取消"));
        QCOMPARE(Language::flag(), std::string("chinese"));
        QVERIFY(box->hasFocus() || box->lineEdit()->hasFocus());
        QCOMPARE(child<QLineEdit>(&login, "passwordEdit")->echoMode(), QLineEdit::Password);
    }

    void enterInTheUserBoxMovesOnThenLogsIn() {
        LoginScene scene("anna\f2\r\n", "english");
        QVERIFY(scene.exposed);
        CLoginDlg& login = *scene.login;
        Prompt::Script& prompt = scene.prompt;
        auto* password = child<QLineEdit>(&login, "passwordEdit");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), password);
        QVERIFY(prompt.shown().empty()); // no attempt was counted
        QCOMPARE(login.check().failedAttempts(), 0);
        QTest::keyClicks(password, "2");
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QVERIFY(prompt.shown().empty());
    }

    void thirdWrongPasswordEndsTheLogin() {
        LoginScene scene("anna\f2\r\n", "english");
        QVERIFY(scene.exposed);
        CLoginDlg& login = *scene.login;
        Prompt::Script& prompt = scene.prompt;
        auto* password = child<QLineEdit>(&login, "passwordEdit");
        password->setFocus();
        bool visibleAtThirdMessage = false;
        prompt.onShow = [&](const std::string&) { visibleAtThirdMessage = login.isVisible(); };
        for (int i = 0; i < 3; ++i) {
            password->clear();
            QTest::keyClicks(password, "9");
            QTest::keyClick(password, Qt::Key_Return);
            if (i < 2)
                QVERIFY(login.isVisible());
        }
        QCOMPARE(prompt.shown(),
                 (std::vector<std::string>{"Please enter the correct password",
                                           "Please enter the correct password",
                                           "Password error 3 times, software shutdown"}));
        QVERIFY(visibleAtThirdMessage); // the message comes before the window closes
        QVERIFY(!login.isVisible());
        QCOMPARE(login.result(), int(QDialog::Rejected));
    }

    void leavingTheUserBoxResetsTheCounter() {
        LoginScene scene("anna\f2\r\n", "english");
        QVERIFY(scene.exposed);
        CLoginDlg& login = *scene.login;
        Prompt::Script& prompt = scene.prompt;
        auto* password = child<QLineEdit>(&login, "passwordEdit");
        auto* box = child<QComboBox>(&login, "userBox");
        password->setFocus();
        QTest::keyClicks(password, "9");
        QTest::keyClick(password, Qt::Key_Return);
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(login.check().failedAttempts(), 2);
        box->lineEdit()->setFocus();
        password->setFocus();
        QCOMPARE(login.check().failedAttempts(), 0);
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(login.isVisible());
        QCOMPARE(prompt.last(), std::string("Please enter the correct password"));
    }

    void sameNameTwiceAndTypedNames() {
        LoginScene scene("bob\f1\r\nbob\f2\r\n", "english");
        QVERIFY(scene.exposed);
        CLoginDlg& login = *scene.login;
        Prompt::Script& prompt = scene.prompt;
        auto* box = child<QComboBox>(&login, "userBox");
        auto* password = child<QLineEdit>(&login, "passwordEdit");
        box->lineEdit()->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), "stranger");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QTest::keyClicks(password, "1");
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(prompt.last(), std::string("Please enter the correct password"));
        box->lineEdit()->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), "bob");
        password->setFocus();
        password->clear();
        QTest::keyClicks(password, "2");
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(login.result(), int(QDialog::Accepted));
    }

    void emptyUserFileLetsNobodyIn() {
        LoginScene scene("", "");
        QVERIFY(scene.exposed);
        CLoginDlg& login = *scene.login;
        Prompt::Script& prompt = scene.prompt;
        QCOMPARE(Language::flag(), std::string("chinese")); // empty language file
        auto* password = child<QLineEdit>(&login, "passwordEdit");
        password->setFocus();
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(prompt.last(), std::string("用户名不能为空"));
        QCOMPARE(login.check().failedAttempts(), 0);
        QVERIFY(login.isVisible());
    }

    void usersScreenCaptionsAndColumns() {
        for (const char* flag : {kChinese, kEnglish, "English"}) {
            UiData data(flag);
            data.write("yh.rec", "anna\f1\r\n");
            CYhSetDlg screen;
            auto* list = child<QTableView>(&screen, "userList");
            const bool zh = std::string(flag) == kChinese;
            QCOMPARE(screen.windowTitle(),
                     zh ? QStringLiteral("用户设置") : QStringLiteral("User Settings"));
            QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
                     zh ? QStringLiteral("用户名") : QStringLiteral("User Name"));
            QCOMPARE(child<QPushButton>(&screen, "addButton")->text(),
                     zh ? QStringLiteral("新增") : QStringLiteral("New"));
            QCOMPARE(list->columnWidth(0), 120);
            QCOMPARE(list->columnWidth(1), 120);
            QCOMPARE(list->model()->rowCount(), 1);
        }
    }

    void usersScreenEditsTheClickedRowLive() {
        UsersScene scene("anna\f1\r\nbob\f2\r\n");
        QVERIFY(scene.exposed);
        auto [list, name, password, prompt, screen, data] = std::tie(
            scene.list, scene.name, scene.password, scene.prompt, *scene.screen, scene.data);
        clickRow(list, 1);
        QCOMPARE(name->text(), QStringLiteral("bob"));
        QCOMPARE(password->text(), QStringLiteral("2"));
        QTest::keyClicks(password, "34");
        QCOMPARE(list->model()->index(1, 1).data().toString(), QStringLiteral("234"));
        // Byte limits: 6 for the password, 10 for the name (a Chinese character counts 2).
        QTest::keyClicks(password, "5678");
        QCOMPARE(password->text(), QStringLiteral("234567"));
        name->clear();
        korvan::test::typeText(name, QStringLiteral("张三李四王五"));
        QCOMPARE(name->text(), QStringLiteral("张三李四王"));
        QCOMPARE(screen.list().rows()[1].name,
                 std::string("\xD5\xC5\xC8\xFD\xC0\xEE\xCB\xC4\xCD\xF5"));
        // Add after the click appends a row holding the same texts.
        QTest::mouseClick(child<QPushButton>(&screen, "addButton"), Qt::LeftButton);
        QCOMPARE(list->model()->rowCount(), 3);
        QVERIFY(name->text().isEmpty() && password->text().isEmpty());
        QCOMPARE(screen.list().rows()[2], screen.list().rows()[1]);
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QCOMPARE(prompt.last(), std::string("Save completed"));
        QCOMPARE(data.read("yh.rec"),
                 std::string("anna\f1\r\n"
                             "\xD5\xC5\xC8\xFD\xC0\xEE\xCB\xC4\xCD\xF5\f234567\r\n"
                             "\xD5\xC5\xC8\xFD\xC0\xEE\xCB\xC4\xCD\xF5\f234567\r\n"));
    }

    void usersScreenAddRulesEnterAndEmptySave() {
        UsersScene scene("a\r\nb\r\nc\r\nd\r\ne\r\n", kChinese);
        QVERIFY(scene.exposed);
        auto [list, name, prompt, screen, data] =
            std::tie(scene.list, scene.name, scene.prompt, *scene.screen, scene.data);
        QTest::mouseClick(child<QPushButton>(&screen, "addButton"), Qt::LeftButton);
        QCOMPARE(prompt.last(), std::string("用户数量不能超过5个"));
        // Enter in a box never closes the screen.
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(screen.isVisible());
        list->selectAll();
        QTest::mouseClick(child<QPushButton>(&screen, "deleteButton"), Qt::LeftButton);
        QCOMPARE(list->model()->rowCount(), 0);
        QTest::mouseClick(child<QPushButton>(&screen, "addButton"), Qt::LeftButton);
        QCOMPARE(prompt.last(), std::string("用户名不能为空"));
        // Nobody could log in: the operator is asked first, and Cancel saves nothing.
        prompt.answer(false);
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QCOMPARE(data.read("yh.rec"), std::string("a\r\nb\r\nc\r\nd\r\ne\r\n"));
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QCOMPARE(prompt.last(), std::string("数据保存完成"));
        QCOMPARE(data.read("yh.rec"), std::string());
        // Closing with the changes discarded saves nothing.
        QTest::keyClicks(name, "x");
        QTest::mouseClick(child<QPushButton>(&screen, "addButton"), Qt::LeftButton);
        prompt.choose(1);
        QTest::keyClick(&screen, Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
        QCOMPARE(data.read("yh.rec"), std::string());
    }

    void usersScreenTypingAfterDeleteOrAnEmptyClickEditsNobody() {
        UsersScene scene("anna\f1\r\nbob\f2\r\ncarl\f3\r\n");
        QVERIFY(scene.exposed);
        auto [list, name, password, screen] =
            std::tie(scene.list, scene.name, scene.password, *scene.screen);
        clickRow(list, 0);
        QTest::mouseClick(child<QPushButton>(&screen, "deleteButton"), Qt::LeftButton);
        QVERIFY(name->text().isEmpty() && password->text().isEmpty());
        QVERIFY(!screen.list().hasChosen());
        QTest::keyClicks(name, "x"); // bob moved into row 0: he keeps his name
        QCOMPARE(screen.list().rows()[0], (User{"bob", "2"}));
        // A click below the last row chooses nobody and empties the boxes.
        clickRow(list, 1);
        QCOMPARE(name->text(), QStringLiteral("carl"));
        const QPoint below(5, list->visualRect(list->model()->index(1, 0)).bottom() + 20);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
        QVERIFY(!screen.list().hasChosen());
        QVERIFY(name->text().isEmpty() && password->text().isEmpty());
        QTest::keyClicks(password, "9");
        QCOMPARE(screen.list().rows()[1], (User{"carl", "3"}));
    }

    void usersScreenReportsAnUnreadableFileAndNeverSavesOverIt() {
        UiData data;
        std::filesystem::create_directories(data.record("yh.rec")); // a folder in its place
        Prompt::Script prompt;
        CYhSetDlg screen;
        screen.show();
        QTRY_COMPARE(prompt.shown().size(), std::size_t(1));
        QVERIFY(prompt.last().starts_with("Not a regular file"));
        QTest::keyClicks(child<QLineEdit>(&screen, "nameEdit"), "me");
        QTest::mouseClick(child<QPushButton>(&screen, "addButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QCOMPARE(prompt.shown().size(), std::size_t(2));
        QVERIFY(prompt.last().starts_with("Not a regular file"));
        QVERIFY(std::filesystem::is_directory(data.record("yh.rec")));
    }

    void bytesThatAreNotGbkSurviveLoadAndSave() {
        const std::string raw = "ab\xFF\x80\f1\r\n\xD5\xC5\xC8\xFD\f\xFE\r\n";
        UsersScene scene(raw);
        QVERIFY(scene.exposed);
        auto [list, screen, data] = std::tie(scene.list, *scene.screen, scene.data);
        QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("张三"));
        clickRow(list, 0); // showing a row in the boxes is no edit
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QCOMPARE(data.read("yh.rec"), raw);
    }

    void firstUserIsWrittenOwnerOnly() {
        UiData data;
        data.write("language.rec", "english");
        QVERIFY(CFirstUserDlg::needed());
        Prompt::Script prompt;
        CFirstUserDlg first;
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        auto* name = child<QLineEdit>(&first, "nameEdit");
        auto* password = child<QLineEdit>(&first, "passwordEdit");
        auto* confirm = child<QLineEdit>(&first, "confirmEdit");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), password);
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), confirm);
        QTest::keyClick(confirm, Qt::Key_Return);
        QCOMPARE(prompt.last(), std::string("User name cannot be empty"));
        QCOMPARE(QApplication::focusWidget(), name);
        QVERIFY(!std::filesystem::exists(data.record("yh.rec")));
        QTest::keyClicks(name, "boss");
        QTest::keyClicks(password, "12345678");
        password->setFocus();
        QTest::keyClick(password, Qt::Key_Return);
        // The password is asked twice: a mistyped repeat writes nothing and starts over.
        QCOMPARE(QApplication::focusWidget(), confirm);
        QTest::keyClicks(confirm, "12345");
        QTest::keyClick(confirm, Qt::Key_Return);
        QCOMPARE(prompt.last(), std::string("The two passwords do not match"));
        QVERIFY(!std::filesystem::exists(data.record("yh.rec")));
        QCOMPARE(QApplication::focusWidget(), password);
        QVERIFY(confirm->text().isEmpty());
        QTest::keyClicks(confirm, "1234567"); // the byte limit cuts it to the same six
        confirm->setFocus();
        QTest::keyClick(confirm, Qt::Key_Return);
        QCOMPARE(first.result(), int(QDialog::Accepted));
        QCOMPARE(data.read("yh.rec"), std::string("boss\f123456\r\n"));
        struct stat st {};
        QCOMPARE(::stat(data.record("yh.rec").c_str(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);
        QVERIFY(!CFirstUserDlg::needed());
    }
};

QTEST_MAIN(UsersUiTest)
#include "UsersUiTest.moc"
