// The communication settings screen, offscreen: captions and mode names in each language, the
// groups each mode enables, what Save writes, and a settings file that cannot be read.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "common/Prompt.h"
#include "common/TextCodec.h"
#include "link/ComPorts.h"
#include "link/HidDevices.h"
#include "link/VirtualHidBackend.h"
#include "link/ui/CTxSetDlg.h"
#include "support/UiData.h"
#include "support/UiFind.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::UiData;

namespace {

std::string gbk(const char* utf8) {
    return TextCodec::toGbk(utf8).value();
}

QStringList items(QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// No USB device: a virtual one that nobody serves.
void noUsbDevices(const UiData& data) {
    std::vector<std::unique_ptr<HidBackend>> backends;
    backends.push_back(std::make_unique<VirtualHidBackend>(
        std::vector<std::string>{(data.record("none.sock")).string()}));
    LinkTestTargets targets;
    targets.hidDevices = std::make_shared<HidDevices>(std::move(backends));
    CTxSetDlg::setTestTargets(targets);
}

} // namespace

class CommSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void modeNamesFollowTheLanguageWhateverTheFileSays() {
        struct Case {
            const char* flag;
            std::string line1;
            QString selected;
            QStringList modes; // sorted as the stored names compare
            QString title;
        };
        const QStringList english{"Network", "SerialPort", "USB"};
        const QStringList chinese{"USB通讯", "串口通讯", "网口通讯"};
        const Case cases[] = {
            {kEnglish, gbk("串口通讯"), "SerialPort", english, "Communication settings"},
            {kChinese, "SerialPort", "串口通讯", chinese, "通讯设置"},
            {kChinese, gbk("网口通讯"), "网口通讯", chinese, "通讯设置"},
            {"french", "USB", "USB", english, "Communication settings"},
            {kEnglish, "Modem", "", english, "Communication settings"},
        };
        for (const Case& c : cases) {
            UiData data(c.flag);
            noUsbDevices(data);
            data.write("tx.rec", c.line1 + "\r\ncom3\r\n192.168.1.87\r\n");
            CTxSetDlg screen;
            QCOMPARE(screen.windowTitle(), c.title);
            auto* modes = child<QComboBox>(&screen, "modeCombo");
            QCOMPARE(items(modes), c.modes);
            QCOMPARE(modes->currentText(), c.selected);
            QCOMPARE(child<QComboBox>(&screen, "portCombo")->currentData().toString(),
                     QString("COM3"));
            QCOMPARE(child<QLineEdit>(&screen, "targetIpEdit")->text(), QString("192.168.1.87"));
            QCOMPARE(child<QLineEdit>(&screen, "localPortEdit")->text(), QString("7000"));
            QCOMPARE(child<QLineEdit>(&screen, "targetPortEdit")->text(), QString("8000"));
        }
        // The captions of the language (a sample of each kind of control).
        UiData data(kChinese);
        CTxSetDlg screen;
        QCOMPARE(child<QGroupBox>(&screen, "serialGroup")->title(), QString("串口通讯"));
        QCOMPARE(child<QLabel>(&screen, "bpsLabel")->text(), QString("波特率  9600"));
        QCOMPARE(child<QLabel>(&screen, "targetIpLabel")->text(), QString("目标IP"));
        QCOMPARE(child<QPushButton>(&screen, "usbTestButton")->text(), QString("USB测试"));
        QCOMPARE(child<QPushButton>(&screen, "saveButton")->text(), QString("保存"));
    }

    void eachModeEnablesItsGroup() {
        UiData data;
        noUsbDevices(data);
        // No file: nothing chosen, every group open.
        CTxSetDlg screen;
        auto* modes = child<QComboBox>(&screen, "modeCombo");
        auto* serial = child<QGroupBox>(&screen, "serialGroup");
        auto* network = child<QGroupBox>(&screen, "networkGroup");
        auto* usb = child<QGroupBox>(&screen, "usbGroup");
        QCOMPARE(modes->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(&screen, "portCombo")->currentIndex(), -1);
        QVERIFY(child<QLineEdit>(&screen, "targetIpEdit")->text().isEmpty());
        QVERIFY(serial->isEnabled() && network->isEnabled() && usb->isEnabled());

        struct Case {
            const char* mode;
            bool serial, network, usb;
        };
        for (Case c : {Case{"SerialPort", true, false, false}, Case{"Network", false, true, false},
                       Case{"USB", false, false, true}}) {
            modes->setCurrentText(c.mode);
            QCOMPARE(serial->isEnabled(), c.serial);
            QCOMPARE(network->isEnabled(), c.network);
            QCOMPARE(usb->isEnabled(), c.usb);
            QCOMPARE(child<QLineEdit>(&screen, "targetIpEdit")->isEnabled(), c.network);
            QCOMPARE(child<QPushButton>(&screen, "networkTestButton")->isEnabled(), c.network);
            for (const char* fixed : {"localIpEdit", "localPortEdit", "targetPortEdit"})
                QVERIFY(!child<QLineEdit>(&screen, fixed)->isEnabled());
        }
        // Choosing USB searched for the device.
        QVERIFY(child<QPlainTextEdit>(&screen, "deviceInfoEdit")
                    ->toPlainText()
                    .startsWith("Looking for USB devices...\nCan't find USB device"));
    }

    void saveWritesTheLinkAndThePortsDevice() {
        UiData data(kChinese);
        noUsbDevices(data);
        data.write("tx.rec", "SerialPort\r\nCOM1\r\n10.0.0.1\r\nkept?\r\n");
        Prompt::Script prompt;
        CTxSetDlg screen;
        child<QComboBox>(&screen, "modeCombo")->setCurrentText("网口通讯");
        auto* ports = child<QComboBox>(&screen, "portCombo");
        auto* device = child<QComboBox>(&screen, "deviceCombo");
        QCOMPARE(device->currentText(), QString("/dev/ttyS0"));
        ports->setCurrentIndex(2);
        QCOMPARE(device->currentText(), QString("/dev/ttyS2"));
        device->setEditText("/dev/ttyUSB7");
        QCOMPARE(ports->itemText(2), QString("COM3  /dev/ttyUSB7"));
        QCOMPARE(ports->itemText(3), QString("COM4  /dev/ttyS3"));
        auto* ip = child<QLineEdit>(&screen, "targetIpEdit");
        ip->clear();
        QTest::keyClicks(ip, "192.168.100.200.1234567"); // 20 characters kept
        QCOMPARE(ip->text(), QString("192.168.100.200.1234"));
        ip->setText("192.168.100.200"); // what Save takes: an address

        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QCOMPARE(prompt.shown(), std::vector<std::string>{"保存完成"});
        QCOMPARE(data.read("tx.rec"), gbk("网口通讯") + "\r\nCOM3\r\n192.168.100.200\r\n");
        auto mapped = ComPorts::load(data.record(ComPorts::kFileName));
        QVERIFY(mapped.result.ok());
        QCOMPARE(mapped.value, (std::map<std::string, std::string>{{"COM3", "/dev/ttyUSB7"}}));

        // Emptying the box maps the port back to its default; a new screen shows the mapping.
        device->setEditText("");
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QVERIFY(ComPorts::load(data.record(ComPorts::kFileName)).value.empty());
        data.write(ComPorts::kFileName, "COM3\f/dev/ttyACM0\r\n");
        CTxSetDlg again;
        QCOMPARE(child<QComboBox>(&again, "deviceCombo")->currentText(), QString("/dev/ttyACM0"));
        QCOMPARE(child<QComboBox>(&again, "portCombo")->currentText(),
                 QString("COM3  /dev/ttyACM0"));
    }

    void anUnreadableSettingsFileIsReportedAndNotOverwritten() {
        UiData data;
        std::filesystem::create_directories(data.record("tx.rec")); // cannot be read as a file
        Prompt::Script prompt;
        CTxSetDlg screen;
        screen.show();
        QTRY_COMPARE(prompt.shown().size(), std::size_t(1));
        const std::string failure = prompt.last();
        QVERIFY(!failure.empty());
        QCOMPARE(screen.focusWidget(), child<QComboBox>(&screen, "modeCombo"));
        child<QComboBox>(&screen, "modeCombo")->setCurrentText("Network");
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QCOMPARE(prompt.shown(), (std::vector<std::string>{failure, failure}));
        QVERIFY(std::filesystem::is_directory(data.record("tx.rec")));
    }
};

QTEST_MAIN(CommSettingsTest)
#include "CommSettingsTest.moc"
