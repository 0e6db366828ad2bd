// The scales screen: the boxes under the list add, edit and delete scales by the list's rules,
// and what is on screen reaches record/scales.rec.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "common/Prompt.h"
#include "link/HidDevices.h"
#include "link/ui/CClbSetDlg.h"
#include "support/UiData.h"
#include "support/UiType.h"

using namespace korvan;
using korvan::test::UiData;

class ScalesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void boxesEditTheListByItsRulesAndLeavingSavesIt() {
        UiData data(kEnglish);
        data.write("scales.rec", "produce\fNetwork\f\f192.168.1.21\r\n");
        Prompt::Script prompt;
        CClbSetDlg screen;
        auto* table = screen.findChild<QTableWidget*>("scaleTable");
        auto* name = screen.findChild<QLineEdit*>("nameEdit");
        auto* ip = screen.findChild<QLineEdit*>("ipEdit");
        const auto press = [&screen](const char* button) {
            screen.findChild<QPushButton*>(button)->click();
        };
        QCOMPARE(table->rowCount(), 1);
        // Choosing a row fills the boxes.
        table->selectRow(0);
        QCOMPARE(name->text(), QStringLiteral("produce"));
        QCOMPARE(ip->text(), QStringLiteral("192.168.1.21"));

        // A second scale at the same address, or at a broadcast address, is refused.
        name->setText(QStringLiteral("deli"));
        press("addButton");
        QCOMPARE(prompt.last(), std::string("Another scale has this IP address"));
        ip->setText(QStringLiteral("255.255.255.255"));
        press("addButton");
        QVERIFY(prompt.last().find("broadcast") != std::string::npos);
        QCOMPARE(table->rowCount(), 1);
        ip->setText(QStringLiteral("192.168.1.22"));
        press("addButton");
        QCOMPARE(table->rowCount(), 2);

        // The name box takes 16 bytes at most (8 Chinese characters).
        name->clear();
        test::typeText(name, QStringLiteral("一二三四五六七八九"));
        QCOMPARE(name->text(), QStringLiteral("一二三四五六七八"));
        table->selectRow(0);
        press("deleteButton");
        QCOMPARE(table->rowCount(), 1);
        // Edit changes the chosen scale, which is not its own duplicate.
        table->selectRow(0);
        ip->setText(QStringLiteral("192.168.1.23"));
        press("editButton");
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("192.168.1.23"));

        // The port box offers the connected scales of a USB link, and nothing of a network one.
        struct Devices : HidBackend {
            std::vector<HidDeviceInfo> list() override {
                return {{"/dev/hidraw4", HidDevices::kScaleVendorId, HidDevices::kScaleProductId,
                         "", 0},
                        {"/dev/hidraw5", 0x046d, 0xc077, "", 0}};
            }
            std::unique_ptr<HidDevice> open(const HidDeviceInfo&) override { return nullptr; }
        };
        LinkTestTargets targets;
        targets.hidDevices = std::make_shared<Devices>();
        CClbSetDlg::setTestTargets(targets);
        auto* ports = screen.findChild<QComboBox*>("portCombo");
        auto* mode = screen.findChild<QComboBox*>("modeCombo");
        mode->setCurrentIndex(mode->findText(QStringLiteral("USB")));
        QCOMPARE(ports->count(), 1);
        QCOMPARE(ports->itemText(0), QStringLiteral("/dev/hidraw4"));
        QVERIFY(!ip->isEnabled());
        mode->setCurrentIndex(mode->findText(QStringLiteral("Network")));
        QVERIFY(!ports->isEnabled() && ports->count() == 0);
        CClbSetDlg::setTestTargets({});

        // Leaving with changes asks; Save writes the list.
        prompt.choose(0);
        screen.reject();
        QCOMPARE(data.read("scales.rec"), std::string("deli\fNetwork\f\f192.168.1.23\r\n"));
    }
};

QTEST_MAIN(ScalesScreenTest)
#include "ScalesScreenTest.moc"
