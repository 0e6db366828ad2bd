#include "CTxSetDlg.h"
#include "ui_CTxSetDlg.h"

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <utility>

#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"
#include "link/ComPorts.h"
#include "link/HidDevices.h"
#include "link/Protocol.h"
#include "link/UdpChannel.h"

namespace korvan {
namespace {
const Tr kTitle{"通讯设置", "Communication settings"};
const Tr kMode{"通讯方式", "Mode"};
const Tr kSerialGroup{"串口通讯", "Serial port"};
const Tr kPort{"串口号", "COM"};
const Tr kSerialDevice{"设备文件", "Device"};
const Tr kBps{"波特率  9600", "bps  9600"};
const Tr kData{"数据位  8", "data   8"};
const Tr kStop{"停止位  1", "stop   1"};
const Tr kCheck{"校验位  N", "check  N"};
const Tr kSerialTest{"串口测试", "Test"};
const Tr kNetworkGroup{"网口通讯", "Network"};
const Tr kLocalIp{"本机IP", "Local IP"};
const Tr kLocalPort{"本机端口", "Local port"};
const Tr kTargetIp{"目标IP", "Target IP"};
const Tr kTargetPort{"目标端口", "Target port"};
const Tr kNetworkTest{"网口测试", "Test"};
const Tr kUsbGroup{"USB通讯", "USB"};
const Tr kUsbDevice{"USB设备", "Device"};
const Tr kUsbTest{"USB测试", "Test"};
const Tr kSave{"保存", "Save"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kSaveCompleted{"保存完成", "Save completed"};

constexpr std::size_t kTargetIpBytes = 20;
constexpr std::array<LinkMode, 3> kModes{LinkMode::Serial, LinkMode::Network, LinkMode::Usb};

LinkTestTargets& testTargets() {
    static LinkTestTargets targets;
    return targets;
}

// Re-enables a test's button however the test ends.
class ButtonHold {
public:
    explicit ButtonHold(QPushButton* button) : button_(button) {
        button_->setEnabled(false);
        button_->repaint();
    }
    ~ButtonHold() { button_->setEnabled(true); }
    ButtonHold(const ButtonHold&) = delete;
    ButtonHold& operator=(const ButtonHold&) = delete;

private:
    QPushButton* button_;
};
} // namespace

CTxSetDlg::CTxSetDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CTxSetDlg>()), lang_(Language::current()),
      settingsFile_(LinkSettings::file(DataDir::current())) {
    ui_->setupUi(this);
    fixSize();
    setCaptions();

    settingsRead_ = stored_.load(settingsFile_);
    auto devices = ComPorts::load(ComPorts::file(DataDir::current()));
    devicesRead_ = devices.result;
    devices_ = std::move(devices.value);
    for (const IoResult* read : {&settingsRead_, &devicesRead_})
        if (!read->ok())
            reportWhenShown(read->message());

    fillModes();
    fillPorts();
    ByteLimitValidator::apply(ui_->targetIpEdit, kTargetIpBytes);
    ui_->localIpEdit->setMaxLength(20);
    for (QLineEdit* edit : {ui_->localPortEdit, ui_->targetPortEdit})
        edit->setMaxLength(5);
    // The ports are the protocol's and the local address is this machine's: shown, not edited.
    ui_->localIpEdit->setText(qtr(UdpChannel::localAddress()));
    ui_->localPortEdit->setText(QString::number(protocol::kPcPort));
    ui_->targetPortEdit->setText(QString::number(protocol::kScalePort));
    for (QLineEdit* edit : {ui_->localIpEdit, ui_->localPortEdit, ui_->targetPortEdit})
        edit->setEnabled(false);
    showValues();
    settleButtons();

    connect(ui_->modeCombo, &QComboBox::currentIndexChanged, this, &CTxSetDlg::onModeChosen);
    connect(ui_->portCombo, &QComboBox::currentIndexChanged, this, &CTxSetDlg::onPortChosen);
    connect(ui_->deviceCombo, &QComboBox::editTextChanged, this, &CTxSetDlg::onDeviceEdited);
    connect(ui_->saveButton, &QPushButton::clicked, this, &CTxSetDlg::onSave);
    connect(ui_->serialTestButton, &QPushButton::clicked, this,
            [this] { runTest(ui_->serialTestButton, LinkMode::Serial); });
    connect(ui_->networkTestButton, &QPushButton::clicked, this,
            [this] { runTest(ui_->networkTestButton, LinkMode::Network); });
    connect(ui_->usbTestButton, &QPushButton::clicked, this,
            [this] { runTest(ui_->usbTestButton, LinkMode::Usb); });
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    guardUnsavedChanges([this] { return differsFromFiles(); }, [this] { return onSave(); });

    arrangeGroups(stored_.mode);
    if (stored_.mode == LinkMode::Usb)
        usbSearch();
    ui_->modeCombo->setFocus();
    markFocusedButtonOnly();
}

CTxSetDlg::~CTxSetDlg() = default;

void CTxSetDlg::setTestTargets(const LinkTestTargets& targets) {
    testTargets() = targets;
}

void CTxSetDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->modeLabel->setText(qtr(kMode, lang_));
    ui_->serialGroup->setTitle(qtr(kSerialGroup, lang_));
    ui_->portLabel->setText(qtr(kPort, lang_));
    ui_->deviceLabel->setText(qtr(kSerialDevice, lang_));
    ui_->bpsLabel->setText(qtr(kBps, lang_));
    ui_->dataLabel->setText(qtr(kData, lang_));
    ui_->stopLabel->setText(qtr(kStop, lang_));
    ui_->checkLabel->setText(qtr(kCheck, lang_));
    ui_->serialTestButton->setText(qtr(kSerialTest, lang_));
    ui_->networkGroup->setTitle(qtr(kNetworkGroup, lang_));
    ui_->localIpLabel->setText(qtr(kLocalIp, lang_));
    ui_->localPortLabel->setText(qtr(kLocalPort, lang_));
    ui_->targetIpLabel->setText(qtr(kTargetIp, lang_));
    ui_->targetPortLabel->setText(qtr(kTargetPort, lang_));
    ui_->networkTestButton->setText(qtr(kNetworkTest, lang_));
    ui_->usbGroup->setTitle(qtr(kUsbGroup, lang_));
    ui_->usbDeviceLabel->setText(qtr(kUsbDevice, lang_));
    ui_->usbTestButton->setText(qtr(kUsbTest, lang_));
    ui_->saveButton->setText(qtr(kSave, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
}

void CTxSetDlg::fillModes() {
    // Sorted as the stored names compare (code page 936 bytes).
    std::array<LinkMode, 3> modes = kModes;
    std::sort(modes.begin(), modes.end(), [this](LinkMode a, LinkMode b) {
        return LinkSettings::modeName(a, lang_) < LinkSettings::modeName(b, lang_);
    });
    for (LinkMode mode : modes)
        ui_->modeCombo->addItem(fromGbk(LinkSettings::modeName(mode, lang_)),
                                static_cast<int>(mode));
}

void CTxSetDlg::fillPorts() {
    for (const std::string& name : ComPorts::names())
        ui_->portCombo->addItem(QString(), qtr(name));
    showPortItems();
    for (const std::string& device : ComPorts::present())
        ui_->deviceCombo->addItem(qtr(device));
}

void CTxSetDlg::showPortItems() {
    // Each name with the device it stands for, as Save would map it.
    for (int i = 0; i < ui_->portCombo->count(); ++i) {
        const std::string name = ui_->portCombo->itemData(i).toString().toStdString();
        ui_->portCombo->setItemText(i, qtr(name + "  " + ComPorts::device(devices_, name)));
    }
}

void CTxSetDlg::showValues() {
    const QSignalBlocker modeBlock(ui_->modeCombo);
    const QSignalBlocker portBlock(ui_->portCombo);
    ui_->modeCombo->setCurrentIndex(stored_.mode == LinkMode::None
                                        ? -1
                                        : ui_->modeCombo->findData(static_cast<int>(stored_.mode)));
    // The port name is matched whatever its letters' case ("com3" is COM3).
    int port = -1;
    if (const auto number = ComPorts::number(stored_.port))
        port = *number - 1;
    ui_->portCombo->setCurrentIndex(port);
    onPortChosen();
    ByteLimitValidator::fill(ui_->targetIpEdit, fromGbk(stored_.targetIp));
}

std::string CTxSetDlg::portName() const {
    return ui_->portCombo->currentIndex() < 0
               ? std::string()
               : ui_->portCombo->currentData().toString().toStdString();
}

std::string CTxSetDlg::chosenDevice() const {
    return ui_->deviceCombo->currentText().trimmed().toStdString();
}

LinkSettings CTxSetDlg::current() const {
    LinkSettings settings;
    const int index = ui_->modeCombo->currentIndex();
    settings.setMode(index < 0 ? LinkMode::None
                               : static_cast<LinkMode>(ui_->modeCombo->itemData(index).toInt()));
    settings.port = portName();
    settings.targetIp = toGbk(ui_->targetIpEdit->text());
    return settings;
}

void CTxSetDlg::arrangeGroups(LinkMode mode) {
    const bool known = mode != LinkMode::None;
    const bool serial = !known || mode == LinkMode::Serial;
    const bool network = !known || mode == LinkMode::Network;
    const bool usb = !known || mode == LinkMode::Usb;
    // A group box passes its state on to its controls; the fixed network values stay disabled.
    ui_->serialGroup->setEnabled(serial);
    ui_->networkGroup->setEnabled(network);
    ui_->usbGroup->setEnabled(usb);
}

void CTxSetDlg::usbSearch() {
    const std::shared_ptr<HidBackend> devices =
        testTargets().hidDevices ? testTargets().hidDevices : HidDevices::system();
    // The device found is closed again when the search result goes.
    const UsbSearchResult search = LinkTest::usbSearch(*devices, lang_);
    showUsbDevice(search.info, search.device ? search.product : std::string());
}

void CTxSetDlg::showUsbDevice(const std::string& info, const std::string& product) {
    ui_->deviceInfoEdit->setPlainText(lineFeedsOnly(qtr(info)));
    ui_->usbDeviceCombo->clear();
    if (!product.empty())
        ui_->usbDeviceCombo->addItem(qtr(product)); // the first item becomes the current one
}

void CTxSetDlg::onModeChosen() {
    const LinkMode mode = current().mode;
    arrangeGroups(mode);
    if (mode == LinkMode::Usb)
        usbSearch();
}

void CTxSetDlg::onPortChosen() {
    const std::string name = portName();
    const QSignalBlocker block(ui_->deviceCombo);
    ui_->deviceCombo->setEditText(name.empty() ? QString() : qtr(ComPorts::device(devices_, name)));
}

void CTxSetDlg::onDeviceEdited(const QString& text) {
    const std::string name = portName();
    if (name.empty())
        return;
    const std::string device = text.trimmed().toStdString();
    // Back to the default when the box is emptied or names the default itself.
    devices_.erase(name);
    if (!device.empty() && device != ComPorts::device(devices_, name))
        devices_[name] = device;
    showPortItems();
}

bool CTxSetDlg::writeSettings() {
    // After a failed read the files' contents are unknown: writing would replace them.
    for (const IoResult* read : {&settingsRead_, &devicesRead_})
        if (!read->ok()) {
            Prompt::showMessage(read->message());
            return false;
        }
    if (const std::string problem = current().targetIpProblem(lang_); !problem.empty()) {
        Prompt::showMessage(problem);
        ui_->targetIpEdit->setFocus();
        return false;
    }
    const TrackedFile::Saved saved = settingsFile_.saveLines(current().lines(lang_), lang_);
    if (saved.reload) {
        stored_ = LinkSettings{};
        settingsRead_ = stored_.load(settingsFile_);
        showValues();
        if (!settingsRead_.ok())
            Prompt::showMessage(settingsRead_.message());
        return false;
    }
    if (saved.result.ok() && !saved.written)
        return false; // cancelled
    IoResult result = saved.result;
    if (result.ok()) {
        const auto path = ComPorts::file(DataDir::current());
        // Nothing to map and no file yet: no file is made.
        const auto onDisk = ComPorts::load(path);
        if (onDisk.value != devices_)
            result = ComPorts::save(path, devices_);
    }
    if (!result.ok()) {
        Prompt::showMessage(result.message());
        return false;
    }
    return true;
}

bool CTxSetDlg::onSave() {
    if (!writeSettings())
        return false;
    Prompt::showMessage(kSaveCompleted.get(lang_));
    return true;
}

bool CTxSetDlg::differsFromFiles() const {
    LinkSettings onDisk;
    (void)onDisk.load(settingsFile_.path());
    return !current().sameLinkAs(onDisk) ||
           devices_ != ComPorts::load(ComPorts::file(DataDir::current())).value;
}

void CTxSetDlg::runTest(QPushButton* button, LinkMode mode) {
    ButtonHold hold(button);
    LinkSettings settings = current();
    settings.setMode(mode == LinkMode::None ? LinkMode::Usb : mode); // the group's own link
    LinkTestTargets targets = testTargets();
    targets.serialDevice = ComPorts::device(devices_, settings.port);
    const LinkTestOutcome outcome = LinkTest::run(settings, targets, lang_);
    if (settings.mode == LinkMode::Usb)
        showUsbDevice(outcome.deviceInfo, outcome.product);
    if (outcome.saveSettings && !writeSettings())
        return;
    showOutcome(outcome);
}

void CTxSetDlg::showOutcome(const LinkTestOutcome& outcome) {
    if (outcome.result == LinkTestResult::OpenFailed) {
        // Why the port or sockets could not be had (held elsewhere, no permission: the
        // dialout group), under the prompt when there is one.
        std::string message = outcome.prompts.empty() ? std::string() : outcome.prompts.front();
        if (!outcome.detail.empty())
            message += (message.empty() ? "" : "\n") + outcome.detail;
        if (!message.empty())
            Prompt::showMessage(message);
        return;
    }
    for (const std::string& prompt : outcome.prompts)
        Prompt::showMessage(prompt);
}

} // namespace korvan
