// The communication settings screen's tests against the simulated scale: over the network (the
// probe port), the serial pseudo-terminal and the virtual USB device; the settings a test writes,
// and the test button held while the test runs.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>

#include "common/Prompt.h"
#include "link/ComPorts.h"
#include "link/HidDevices.h"
#include "link/SerialChannel.h"
#include "link/UdpPeer.h"
#include "link/VirtualHidBackend.h"
#include "link/ui/CTxSetDlg.h"
#include "support/TempDir.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "tools/e2e/Process.h"

using namespace korvan;
using namespace korvan::test;
using namespace std::chrono_literals;
using korvan::test::child;
using korvan::test::UiData;

class CommSettingsE2eTest : public QObject {
    Q_OBJECT
private slots:
    void theThreeTestsAgainstTheSimulatedScale() {
        const std::uint16_t localPort = UdpPeer::freePort(), scalePort = UdpPeer::freePort(),
                            probePort = UdpPeer::freePort();
        TempDir store;
        Child scale({KORVAN_SCALE_PROGRAM, "--store", store.path().string(), "--port",
                     std::to_string(scalePort), "--reply-port", std::to_string(localPort),
                     "--probe-port", std::to_string(probePort), "--quiet", "--usb", "--serial"});
        QVERIFY(scale.waitForLine("listening", 10s));
        const std::string& out = scale.out();
        const auto at = out.find("serial /dev/");
        QVERIFY2(at != std::string::npos, out.c_str());
        const std::string terminal = out.substr(at + 7, out.find('\n', at) - at - 7);

        std::vector<std::unique_ptr<HidBackend>> backends;
        backends.push_back(std::make_unique<VirtualHidBackend>(
            std::vector<std::string>{(store.path() / "usb.sock").string()}));
        LinkTestTargets targets;
        targets.localPort = localPort;
        targets.probePort = probePort;
        targets.hidDevices = std::make_shared<HidDevices>(std::move(backends));
        CTxSetDlg::setTestTargets(targets);

        UiData data;
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        Prompt::Script prompt;
        CTxSetDlg screen;
        auto* modes = child<QComboBox>(&screen, "modeCombo");
        auto* ip = child<QLineEdit>(&screen, "targetIpEdit");
        // Every prompt comes while the test's own button is held.
        QPushButton* running = nullptr;
        std::vector<bool> heldAtPrompt;
        prompt.onShow = [&](const std::string&) {
            heldAtPrompt.push_back(running && !running->isEnabled());
        };
        auto press = [&](const char* button) {
            running = child<QPushButton>(&screen, button);
            heldAtPrompt.clear();
            prompt.clear();
            QTest::mouseClick(running, Qt::LeftButton);
            QVERIFY(running->isEnabled());
            QVERIFY(!heldAtPrompt.empty());
            QCOMPARE(heldAtPrompt, std::vector<bool>(heldAtPrompt.size(), true));
        };

        // Network: the probe port answers; the settings are written as Save would, with no
        // "Save completed".
        ip->setText("127.0.0.1");
        child<QComboBox>(&screen, "portCombo")->setCurrentIndex(1);
        press("networkTestButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Successful"});
        QCOMPARE(data.read("tx.rec"), std::string("Network\r\nCOM2\r\n127.0.0.1\r\n"));

        // A scale answering only on its data port: no answer, nothing written.
        targets.probePort = scalePort;
        CTxSetDlg::setTestTargets(targets);
        ip->setText("127.0.0.2");
        press("networkTestButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Test failed"});
        QCOMPARE(data.read("tx.rec"), std::string("Network\r\nCOM2\r\n127.0.0.1\r\n"));
        ip->setText("127.0.0.1");

        // Serial: COM4 mapped to the terminal on the screen; the test writes the mapping too.
        modes->setCurrentText("SerialPort");
        child<QComboBox>(&screen, "portCombo")->setCurrentIndex(3);
        child<QComboBox>(&screen, "deviceCombo")->setEditText(QString::fromStdString(terminal));
        press("serialTestButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Successful"});
        QCOMPARE(data.read("tx.rec"), std::string("SerialPort\r\nCOM4\r\n127.0.0.1\r\n"));
        QCOMPARE(ComPorts::load(data.record(ComPorts::kFileName)).value,
                 (std::map<std::string, std::string>{{"COM4", terminal}}));

        // A port another program holds: the open fails and says why; the button comes back.
        {
            SerialChannel holder("COM4", terminal);
            QCOMPARE(holder.open(), 0);
            data.write("tx.rec", "USB\r\nCOM1\r\n127.0.0.1\r\n");
            press("serialTestButton");
            QCOMPARE(prompt.shown().size(), std::size_t(1));
            QVERIFY2(prompt.last().rfind("Failed to open serial port\n", 0) == 0,
                     prompt.last().c_str());
            QVERIFY(prompt.last().find("in use by another program") != std::string::npos);
            QCOMPARE(data.read("tx.rec"), std::string("USB\r\nCOM1\r\n127.0.0.1\r\n"));
        }

        // USB: choosing the mode finds the device; the test answers and writes the settings.
        modes->setCurrentText("USB");
        auto* info = child<QPlainTextEdit>(&screen, "deviceInfoEdit");
        QVERIFY2(info->toPlainText().contains("Discovery of USB devices\n"),
                 qPrintable(info->toPlainText()));
        const QString product = child<QComboBox>(&screen, "usbDeviceCombo")->currentText();
        QVERIFY(!product.isEmpty());
        QVERIFY(info->toPlainText().contains(product + "\nEffective equipment"));
        // tx.rec was written behind the screen's back above: the screen asks before it stores
        // the settings (overwrite).
        prompt.choose(1);
        press("usbTestButton");
        QCOMPARE(prompt.shown().size(), std::size_t(2));
        QVERIFY(prompt.shown().front().starts_with("tx.rec was changed by another program"));
        QCOMPARE(prompt.last(), std::string("Successful"));
        QVERIFY(info->toPlainText().endsWith("Write data completion\n"));
        QCOMPARE(data.read("tx.rec"), std::string("USB\r\nCOM4\r\n127.0.0.1\r\n"));

        scale.terminate();
        scale.wait(5s);
        // No device: the prompt and the info say so; the settings are not written.
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        press("usbTestButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Can't find USB device"});
        QVERIFY(info->toPlainText().contains("Can't find USB device"));
        QCOMPARE(data.read("tx.rec"), std::string("Network\r\nCOM1\r\n127.0.0.1\r\n"));
    }
};

QTEST_MAIN(CommSettingsE2eTest)
#include "CommSettingsE2eTest.moc"
