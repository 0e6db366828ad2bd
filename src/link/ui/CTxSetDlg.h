#pragma once
// The communication settings screen: how the PC reaches the scale (serial port, UDP network or
// USB), kept in record/tx.rec, one test per link, and the device each serial port name stands
// for on this machine (record/comports.rec).
#include <map>
#include <memory>
#include <string>

#include "common/Language.h"
#include "common/RecordFile.h"
#include "common/ui/DataEntryDialog.h"
#include "link/LinkSettings.h"
#include "link/LinkTest.h"

namespace Ui {
class CTxSetDlg;
}

class QPushButton;

namespace korvan {

class CTxSetDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CTxSetDlg(QWidget* parent = nullptr);
    ~CTxSetDlg() override;

    // Where the tests reach the scale: the product's fixed ports and this machine's HID devices
    // unless a test of the screen sets others (the serial device always comes from the screen).
    static void setTestTargets(const LinkTestTargets& targets);

    // The settings as Save would write them now.
    LinkSettings current() const;

private:
    void setCaptions();
    void fillModes();
    void fillPorts();
    void showValues();
    void arrangeGroups(LinkMode mode);
    void usbSearch();
    void showUsbDevice(const std::string& info, const std::string& product);
    void onModeChosen();
    void onPortChosen();
    void onDeviceEdited(const QString& text);
    // Writes tx.rec and comports.rec; false, after telling the operator, when it could not.
    bool writeSettings();
    // True when the files now hold the settings.
    bool onSave();
    // Whether the settings on screen differ from what the files hold now.
    bool differsFromFiles() const;
    void runTest(QPushButton* button, LinkMode mode);
    void showOutcome(const LinkTestOutcome& outcome);
    std::string portName() const;
    std::string chosenDevice() const;
    void showPortItems();

    std::unique_ptr<Ui::CTxSetDlg> ui_;
    Lang lang_;
    TrackedFile settingsFile_; // record/tx.rec
    LinkSettings stored_;
    IoResult settingsRead_;
    std::map<std::string, std::string> devices_; // the port mapping as the screen holds it
    IoResult devicesRead_;
};

} // namespace korvan
