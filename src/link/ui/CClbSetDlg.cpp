#include "CClbSetDlg.h"
#include "ui_CClbSetDlg.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QPushButton>
#include <QTableWidgetItem>

#include <array>

#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"
#include "link/ComPorts.h"
#include "link/HidDevices.h"

namespace korvan {
namespace {
const Tr kTitle{"秤列表", "Scales"};
const Tr kName{"秤名", "Name"};
const Tr kMode{"通讯方式", "Link"};
const Tr kPort{"串口或设备", "Port or device"};
const Tr kIp{"IP地址", "IP address"};
const Tr kAdd{"增加", "Add"};
const Tr kEdit{"修改", "Edit"};
const Tr kDelete{"删除", "Delete"};
const Tr kTest{"测试", "Test"};
const Tr kSave{"保存", "Save"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kSaveCompleted{"保存完成", "Save completed"};
const Tr kChooseScale{"请先选择一台秤", "Choose a scale first"};
constexpr std::size_t kPortBytes = 255; // a device path
constexpr std::size_t kIpBytes = 20;
constexpr std::array<LinkMode, 3> kModes{LinkMode::Serial, LinkMode::Network, LinkMode::Usb};

LinkTestTargets& testTargets() {
    static LinkTestTargets targets;
    return targets;
}
} // namespace

CClbSetDlg::CClbSetDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CClbSetDlg>()), lang_(Language::current()),
      file_(ScaleList::file(DataDir::current())) {
    ui_->setupUi(this);
    setCaptions();
    for (LinkMode mode : kModes)
        ui_->modeCombo->addItem(fromGbk(LinkSettings::modeName(mode, lang_)),
                                static_cast<int>(mode));
    ByteLimitValidator::apply(ui_->nameEdit, ScaleList::kNameLimit);
    ui_->portCombo->lineEdit()->setObjectName(QStringLiteral("portEdit"));
    ByteLimitValidator::apply(ui_->portCombo->lineEdit(), kPortBytes);
    connect(ui_->modeCombo, &QComboBox::currentIndexChanged, this, &CClbSetDlg::offerPorts);
    offerPorts();
    ByteLimitValidator::apply(ui_->ipEdit, kIpBytes);

    read_ = list_.load(file_);
    if (!read_)
        reportWhenShown(read_.message());
    showList();
    settleButtons();

    // A USB device path is long: the port column takes the width the others leave.
    ui_->scaleTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    connect(ui_->scaleTable, &QTableWidget::itemSelectionChanged, this, &CClbSetDlg::onRowChosen);
    connect(ui_->addButton, &QPushButton::clicked, this,
            [this] { place(fromBoxes(), list_.scales.size()); });
    connect(ui_->editButton, &QPushButton::clicked, this, [this] {
        if (const auto row = chosenRow())
            place(fromBoxes(), *row);
        else
            Prompt::showMessage(kChooseScale.get(lang_));
    });
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CClbSetDlg::onDelete);
    connect(ui_->testButton, &QPushButton::clicked, this, &CClbSetDlg::onTest);
    connect(ui_->saveButton, &QPushButton::clicked, this, &CClbSetDlg::onSave);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    guardUnsavedChanges([this] { return differsFromFile(); }, [this] { return onSave(); });
    ui_->nameEdit->setFocus();
    markFocusedButtonOnly();
}

CClbSetDlg::~CClbSetDlg() = default;

void CClbSetDlg::setTestTargets(const LinkTestTargets& targets) {
    testTargets() = targets;
}

void CClbSetDlg::setCaptions() {
    if (lang_ == Lang::Unknown)
        return; // the layout's own captions
    setWindowTitle(qtr(kTitle, lang_));
    ui_->scaleTable->setHorizontalHeaderLabels(
        {qtr(kName, lang_), qtr(kMode, lang_), qtr(kPort, lang_), qtr(kIp, lang_)});
    ui_->nameLabel->setText(qtr(kName, lang_));
    ui_->modeLabel->setText(qtr(kMode, lang_));
    ui_->portLabel->setText(qtr(kPort, lang_));
    ui_->ipLabel->setText(qtr(kIp, lang_));
    const std::pair<QPushButton*, const Tr*> buttons[] = {
        {ui_->addButton, &kAdd},      {ui_->editButton, &kEdit}, {ui_->deleteButton, &kDelete},
        {ui_->testButton, &kTest},    {ui_->saveButton, &kSave}, {ui_->okButton, &kOk},
        {ui_->cancelButton, &kCancel}};
    for (const auto& [button, text] : buttons)
        button->setText(qtr(*text, lang_));
}

void CClbSetDlg::showList() {
    // No row stays chosen over a changed list: the boxes would describe another scale than
    // the one an Edit or Delete then acts on.
    ui_->scaleTable->clearSelection();
    const std::vector<std::string> lines = list_.lines(lang_);
    ui_->scaleTable->setRowCount(static_cast<int>(list_.scales.size()));
    for (std::size_t i = 0; i < list_.scales.size(); ++i) {
        const std::vector<std::string> fields = RecordFile::splitFields(lines[i], 4);
        for (int column = 0; column < 4; ++column)
            ui_->scaleTable->setItem(static_cast<int>(i), column,
                                     new QTableWidgetItem(fromGbk(fields[column])));
    }
}

std::optional<std::size_t> CClbSetDlg::chosenRow() const {
    const QList<QTableWidgetItem*> selected = ui_->scaleTable->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return static_cast<std::size_t>(selected.front()->row());
}

void CClbSetDlg::onRowChosen() {
    const auto row = chosenRow();
    if (!row)
        return;
    const ScaleEntry& scale = list_.scales[*row];
    ByteLimitValidator::fill(ui_->nameEdit, fromGbk(scale.name));
    const int mode = ui_->modeCombo->findData(static_cast<int>(scale.link.mode));
    ui_->modeCombo->setCurrentIndex(mode);
    ByteLimitValidator::fill(ui_->portCombo->lineEdit(), fromGbk(scale.link.port));
    ByteLimitValidator::fill(ui_->ipEdit, fromGbk(scale.link.targetIp));
}

void CClbSetDlg::offerPorts() {
    // The port box offers what the chosen link can use; the operator may still type another.
    const LinkMode link = chosenMode();
    const QString typed = ui_->portCombo->currentText();
    const QSignalBlocker block(ui_->portCombo);
    ui_->portCombo->clear();
    const std::shared_ptr<HidBackend> devices =
        testTargets().hidDevices ? testTargets().hidDevices : HidDevices::system();
    for (const std::string& port : ScaleList::portChoices(link, *devices))
        ui_->portCombo->addItem(qtr(port));
    ui_->portCombo->setEditText(typed);
    ui_->portCombo->setEnabled(link != LinkMode::Network);
    ui_->ipEdit->setEnabled(link == LinkMode::Network);
}

LinkMode CClbSetDlg::chosenMode() const {
    const QVariant mode = ui_->modeCombo->currentData();
    return mode.isValid() ? static_cast<LinkMode>(mode.toInt()) : LinkMode::None;
}

ScaleEntry CClbSetDlg::fromBoxes() const {
    ScaleEntry entry{toGbk(ui_->nameEdit->text()), {}};
    entry.link.setMode(chosenMode());
    entry.link.port = toGbk(ui_->portCombo->currentText());
    entry.link.targetIp = toGbk(ui_->ipEdit->text());
    return entry;
}

void CClbSetDlg::place(const ScaleEntry& entry, std::size_t index) {
    if (std::string problem = list_.problem(entry, index, lang_); !problem.empty()) {
        Prompt::showMessage(problem);
        return;
    }
    if (index == list_.scales.size())
        list_.scales.push_back(entry);
    else
        list_.scales[index] = entry;
    showList();
    ui_->scaleTable->selectRow(static_cast<int>(index));
}

void CClbSetDlg::onDelete() {
    const auto row = chosenRow();
    if (!row) {
        Prompt::showMessage(kChooseScale.get(lang_));
        return;
    }
    list_.scales.erase(list_.scales.begin() + static_cast<std::ptrdiff_t>(*row));
    showList();
}

void CClbSetDlg::onTest() {
    const auto row = chosenRow();
    if (!row) {
        Prompt::showMessage(kChooseScale.get(lang_));
        return;
    }
    // The chosen scale as listed (not the boxes): the test says whether the list's entry works.
    const LinkSettings settings = list_.scales[*row].settings();
    ui_->testButton->setEnabled(false);
    LinkTestTargets targets = testTargets();
    if (settings.mode == LinkMode::Serial)
        targets.serialDevice = ComPorts::device(
            ComPorts::load(ComPorts::file(DataDir::current())).value, settings.port);
    if (!targets.hidDevices)
        targets.hidDevices = HidDevices::system();
    const LinkTestOutcome outcome = LinkTest::run(settings, targets, lang_);
    ui_->testButton->setEnabled(true);
    std::string message;
    for (const std::string& prompt : outcome.prompts)
        message += (message.empty() ? "" : "\n") + prompt;
    if (!outcome.detail.empty())
        message += (message.empty() ? "" : "\n") + outcome.detail;
    if (!message.empty())
        Prompt::showMessage(message);
}

bool CClbSetDlg::onSave() {
    // A list that could not be read is not written over with what the screen shows.
    if (!read_) {
        Prompt::showMessage(read_.message());
        return false;
    }
    if (std::string problem = list_.problem(lang_); !problem.empty()) {
        Prompt::showMessage(problem);
        return false;
    }
    const TrackedFile::Saved saved = file_.saveLines(list_.lines(lang_), lang_);
    if (saved.reload) {
        read_ = list_.load(file_);
        showList();
        if (!read_)
            Prompt::showMessage(read_.message());
        return false;
    }
    if (!saved.result) {
        Prompt::showMessage(saved.result.message());
        return false;
    }
    if (!saved.written)
        return false; // cancelled
    Prompt::showMessage(kSaveCompleted.get(lang_));
    return true;
}

bool CClbSetDlg::differsFromFile() const {
    ScaleList onDisk;
    (void)onDisk.load(file_.path());
    return onDisk.scales != list_.scales;
}

} // namespace korvan
