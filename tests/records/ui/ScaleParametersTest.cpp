// The scale parameter screen, offscreen: captions, the receipt texts with their marks, limits and
// guards, the clock, and the read-only bar code scale settings.
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/Prompt.h"
#include "records/ui/CCcsSetDlg.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiType.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::UiData;
using Field = StoreText::Field;

namespace {

void click(QWidget* parent, const char* button) {
    QTest::mouseClick(child<QPushButton>(parent, button), Qt::LeftButton);
}

void showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

const std::string kTexts = "Fresh Mart\r\n555-0100\r\nHigh Street 1\r\nignored\r\n";

} // namespace

class ScaleParametersTest : public QObject {
    Q_OBJECT
private slots:
    void captionsFollowTheLanguage() {
        struct Case {
            const char* flag;
            bool chinese;
        };
        for (Case c : {Case{kChinese, true}, Case{kEnglish, false}, Case{"french", false}}) {
            UiData data(c.flag);
            CCcsSetDlg screen;
            auto pick = [&](const char* zh, const char* en) {
                return QString::fromUtf8(c.chinese ? zh : en);
            };
            QCOMPARE(screen.windowTitle(), pick("秤参数设置", "Parameter Settings"));
            QCOMPARE(child<QGroupBox>(&screen, "noteGroup")->title(),
                     pick("小票文字", "Note Text"));
            QCOMPARE(child<QGroupBox>(&screen, "barcodeGroup")->title(),
                     pick("条码秤", "Bar code scale"));
            const std::pair<const char*, QString> captions[] = {
                {"storeNameLabel", pick("商店名", "Store Name")},
                {"shopPhoneLabel", pick("电话", "Shop phone")},
                {"storeAddressLabel", pick("地址", "Store Address")},
                {"dateTimeLabel", pick("日期时间", "Date and time")},
                {"numberLabel", pick("部门编号", "number")},
                {"labelLabel", pick("标签", "label")},
                {"typeLabel", pick("类型", "type")},
                {"formatLabel", pick("格式", "format")},
                {"dateTimeDownloadButton", pick("下传", "Download")},
                {"barcodeDownloadButton", pick("下传", "Download")},
                {"noteSaveButton", pick("保存", "Save")},
                {"okButton", pick("确定", "OK")},
                {"cancelButton", pick("取消", "Cancel")}};
            for (const auto& [name, text] : captions)
                QCOMPARE(child<QWidget>(&screen, name)->property("text").toString(), text);
            Prompt::Script prompt;
            click(&screen, "noteSaveButton");
            QCOMPARE(QString::fromStdString(prompt.last()), pick("数据保存完成", "Save completed"));
            QCOMPARE(screen.size(), QSize(761, 413));
        }
    }

    void filesFillTheBoxesAndTheBarcodeGroupStaysDisabled() {
        struct Case {
            std::string tmccs;
            QString department;
            int label, type, format; // -1: no selection
        };
        const Case cases[] = {
            {"12\r\n2=40*30\r\n2=EAN-13\r\n1=code+total\r\n", "12", 1, 2, 0},
            {"7\r\n2\r\n4=code\r\n3=CODE+PRICE\r\nmore\r\n", "7", 1, 4, 2}, // prefix, any case
            {"3\r\n9=none\r\n\r\n", "3", -1, -1, -1},
            {"", "", -1, -1, -1}};
        for (const Case& c : cases) {
            UiData data;
            data.write("xpwz.rec", kTexts);
            data.write("tmccs.rec", c.tmccs);
            CCcsSetDlg screen;
            QCOMPARE(child<QLineEdit>(&screen, "departmentEdit")->text(), c.department);
            QCOMPARE(child<QComboBox>(&screen, "labelSizeBox")->currentIndex(), c.label);
            QCOMPARE(child<QComboBox>(&screen, "barcodeTypeBox")->currentIndex(), c.type);
            QCOMPARE(child<QComboBox>(&screen, "barcodeFormatBox")->currentIndex(), c.format);
            QCOMPARE(child<QComboBox>(&screen, "barcodeTypeBox")->count(), 7);
            for (const char* name : {"barcodeGroup", "numberLabel", "departmentEdit",
                                     "labelSizeBox", "barcodeSaveButton", "barcodeDownloadButton"})
                QVERIFY2(!child<QWidget>(&screen, name)->isEnabled(), name);
            QCOMPARE(screen.texts(), (StoreText{"Fresh Mart", "555-0100", "High Street 1"}));
        }
        // Missing files and missing lines come up empty, without a word.
        UiData data;
        data.write("xpwz.rec", "Only a name\r\n");
        Prompt::Script prompt;
        CCcsSetDlg screen;
        showActive(&screen);
        QCOMPARE(screen.texts(), (StoreText{"Only a name", "", ""}));
        QCOMPARE(child<QComboBox>(&screen, "labelSizeBox")->currentIndex(), -1);
        QCOMPARE(screen.focusWidget()->objectName(), QStringLiteral("storeNameEdit"));
        // Only a focused button looks like the one Enter presses, as it is.
        const auto buttons = screen.findChildren<QPushButton*>();
        for (const char* focus : {"storeNameEdit", "shopPhoneDownloadButton", "storeAddressEdit"}) {
            child<QWidget>(&screen, focus)->setFocus();
            for (auto* button : buttons)
                QCOMPARE(button->isDefault(), button->objectName() == QLatin1String(focus));
        }
        QTest::qWait(0);
        QVERIFY(prompt.shown().empty());
    }

    void unsavedTextsBlockOnlyTheirOwnDownload() {
        UiData data;
        data.write("tx.rec", "\r\n"); // no link: a Download ends at once with an empty result
        data.write("xpwz.rec", kTexts);
        Prompt::Script prompt;
        CCcsSetDlg screen;
        showActive(&screen);
        // The clock is never blocked, right after opening too.
        click(&screen, "dateTimeDownloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{""});

        auto* phone = child<QLineEdit>(&screen, "shopPhoneEdit");
        phone->setFocus();
        QTest::keyClicks(phone, "7");
        QVERIFY(screen.isUnsaved(Field::ShopPhone));
        QVERIFY(!screen.isUnsaved(Field::StoreName));
        QCOMPARE(screen.texts().shopPhone, std::string("555-01007"));
        prompt.clear();
        click(&screen, "shopPhoneDownloadButton");
        click(&screen, "storeNameDownloadButton");
        click(&screen, "storeAddressDownloadButton");
        QCOMPARE(prompt.shown(), (std::vector<std::string>{"Please save the data first", "", ""}));

        test::typeText(child<QPlainTextEdit>(&screen, "storeAddressEdit"), QStringLiteral("号"));
        QVERIFY(screen.isUnsaved(Field::StoreAddress));
        prompt.clear();
        click(&screen, "storeAddressDownloadButton");
        click(&screen, "noteSaveButton");
        QCOMPARE(prompt.shown(),
                 (std::vector<std::string>{"Please save the data first", "Save completed"}));
        for (Field field : {Field::StoreName, Field::ShopPhone, Field::StoreAddress})
            QVERIFY(!screen.isUnsaved(field));
        QCOMPARE(data.read("xpwz.rec"), std::string("Fresh Mart\r\n555-01007\r\n"
                                                    "\xBA\xC5High Street 1\r\n"));
        prompt.clear();
        click(&screen, "shopPhoneDownloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{""});
    }

    void eachBoxKeepsItsTextsByteLimit() {
        UiData data;
        CCcsSetDlg screen;
        showActive(&screen);
        auto* name = child<QPlainTextEdit>(&screen, "storeNameEdit");
        auto* phone = child<QLineEdit>(&screen, "shopPhoneEdit");
        auto* address = child<QPlainTextEdit>(&screen, "storeAddressEdit");

        test::typeText(phone, QStringLiteral("电话电话电话电话")); // 2 bytes each
        QCOMPARE(phone->text(), QStringLiteral("电话电话电话电"));
        // 60 bytes: 30 Chinese characters; a line break weighs two (stored as CR LF).
        test::typeText(name, QString(31, QChar(0x9C9C))); // 鲜
        QCOMPARE(name->toPlainText(), QString(30, QChar(0x9C9C)));
        address->setFocus();
        test::typeText(address, QString(28, QLatin1Char('a')));
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(address, Qt::Key_Return);
        QCOMPARE(address->toPlainText(), QString(28, QLatin1Char('a')) + QString(16, '\n'));
        QCOMPARE(screen.texts().storeAddress.size(), std::size_t(60));
        QVERIFY(screen.isVisible()); // Enter stays in a multi-line box
        QCOMPARE(screen.focusWidget(), address);
    }

    void lineBreaksRoundTripThroughTheFile() {
        UiData data;
        data.write("xpwz.rec", "\r\n\r\n\r\n");
        Prompt::Script prompt;
        {
            CCcsSetDlg screen;
            auto* name = child<QPlainTextEdit>(&screen, "storeNameEdit");
            test::typeText(name, QStringLiteral("鲜"));
            QTest::keyClick(name, Qt::Key_Return);
            test::typeText(name, QStringLiteral("Mart"));
            QCOMPARE(screen.texts().storeName, std::string("\xCF\xCA\r\nMart"));
            click(&screen, "noteSaveButton");
        }
        QCOMPARE(data.read("xpwz.rec"), std::string("\xCF\xCA\x1F\x1EMart\r\n\r\n\r\n"));
        CCcsSetDlg reopened;
        QCOMPARE(child<QPlainTextEdit>(&reopened, "storeNameEdit")->toPlainText(),
                 QStringLiteral("鲜\nMart"));
        QCOMPARE(reopened.texts().storeName, std::string("\xCF\xCA\r\nMart"));
        QVERIFY(!reopened.isUnsaved(Field::StoreName));
    }

    void enterMovesOnAndClosingSavesNothing() {
        UiData data;
        Prompt::Script prompt;
        data.write("xpwz.rec", kTexts);
        CCcsSetDlg screen;
        showActive(&screen);
        auto* phone = child<QLineEdit>(&screen, "shopPhoneEdit");
        phone->setFocus();
        QTest::keyClicks(phone, "9");
        QTest::keyClick(phone, Qt::Key_Return);
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.focusWidget()->objectName(), QStringLiteral("shopPhoneDownloadButton"));
        prompt.choose(1); // Discard
        click(&screen, "cancelButton");
        QVERIFY(!screen.isVisible());
        QCOMPARE(screen.result(), int(QDialog::Rejected));
        QCOMPARE(data.read("xpwz.rec"), kTexts);

        CCcsSetDlg again;
        showActive(&again);
        auto* ok = child<QPushButton>(&again, "okButton");
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
        QCOMPARE(again.result(), int(QDialog::Accepted));
    }

    void theClockRunsAndOverridesTyping() {
        UiData data;
        CCcsSetDlg screen;
        auto* box = child<QDateTimeEdit>(&screen, "dateTimeEdit");
        QCOMPARE(box->displayFormat(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const std::int64_t start = screen.clock();
        QVERIFY(std::abs(start - QDateTime::currentSecsSinceEpoch()) <= 1);
        QCOMPARE(screen.clockTimer()->interval(), 1000);
        box->setDateTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
        QTRY_COMPARE_WITH_TIMEOUT(screen.clock(), start + 1, 5000);
        QCOMPARE(box->dateTime().toSecsSinceEpoch(), start + 1);
        QCOMPARE(box->text(), QDateTime::fromSecsSinceEpoch(start + 1).toString(
                                  QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }

    void unreadableAndUnwritableFiles() {
        UiData data;
        Prompt::Script prompt;
        std::filesystem::create_directories(data.record("xpwz.rec")); // a folder in its place
        std::filesystem::create_directories(data.record("tmccs.rec"));
        CCcsSetDlg screen;
        showActive(&screen);
        QTRY_COMPARE(prompt.shown().size(), std::size_t(2));
        QVERIFY(prompt.shown()[0].starts_with("Not a regular file"));
        QVERIFY(prompt.shown()[0].find("xpwz.rec") != std::string::npos);
        QVERIFY(prompt.shown()[1].find("tmccs.rec") != std::string::npos);
        prompt.clear();
        click(&screen, "noteSaveButton");
        click(&screen, "storeNameDownloadButton");
        QCOMPARE(prompt.shown().size(), std::size_t(2));
        for (const std::string& shown : prompt.shown())
            QVERIFY(shown.starts_with("Not a regular file"));
        QVERIFY(std::filesystem::is_directory(data.record("xpwz.rec")));

        // A failed write is shown and keeps the marks.
        UiData other;
        CCcsSetDlg editing;
        QTest::keyClicks(child<QLineEdit>(&editing, "shopPhoneEdit"), "1");
        const auto folder = other.record("xpwz.rec").parent_path();
        std::filesystem::remove_all(folder);
        test::writeBytes(folder, "not a folder");
        prompt.clear();
        click(&editing, "noteSaveButton");
        QCOMPARE(prompt.shown().size(), std::size_t(1));
        QVERIFY(prompt.last().starts_with("Cannot write a file in the folder"));
        QVERIFY(editing.isUnsaved(Field::ShopPhone));
    }
};

QTEST_MAIN(ScaleParametersTest)
#include "ScaleParametersTest.moc"
