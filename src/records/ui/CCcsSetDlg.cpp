#include "CCcsSetDlg.h"
#include "ui_CCcsSetDlg.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <ctime>

#include "common/DataDir.h"
#include "common/DownloadGuard.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"
#include "link/ui/CSendScalesDlg.h"
#include "records/BarcodeScaleFile.h"
#include "records/DateTimeDownload.h"
#include "records/StoreTextFile.h"

namespace korvan {

using Field = StoreText::Field;

namespace {
const Tr kTitle{"秤参数设置", "Parameter Settings"};
const Tr kNoteGroup{"小票文字", "Note Text"};
const Tr kStoreName{"商店名", "Store Name"};
const Tr kShopPhone{"电话", "Shop phone"};
const Tr kStoreAddress{"地址", "Store Address"};
const Tr kDateTime{"日期时间", "Date and time"};
const Tr kDownload{"下传", "Download"};
const Tr kSave{"保存", "Save"};
const Tr kBarcodeGroup{"条码秤", "Bar code scale"};
const Tr kNumber{"部门编号", "number"};
const Tr kLabel{"标签", "label"};
const Tr kType{"类型", "type"};
const Tr kFormat{"格式", "format"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kSaveCompleted{"数据保存完成", "Save completed"};

// A line break of a multi-line box is CR LF in the text, as the scale prints it.
std::string fromBox(QString text, Field field) {
    if (StoreText::multiLine(field))
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toGbk(text);
}

QString toBox(const std::string& bytes, Field field) {
    return StoreText::multiLine(field) ? lineFeedsOnly(fromGbk(bytes)) : fromGbk(bytes);
}

template <std::size_t N>
void fillList(QComboBox* box, const std::array<std::string_view, N>& items,
              const std::string& stored) {
    for (std::string_view item : items)
        box->addItem(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    const auto chosen = BarcodeScaleSettings::itemFor(items, stored);
    box->setCurrentIndex(chosen ? static_cast<int>(*chosen) : -1);
}

} // namespace

CCcsSetDlg::CCcsSetDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CCcsSetDlg>()), lang_(Language::current()),
      clockTimer_(new QTimer(this)), textsFile_(StoreTextFile::file(DataDir::current())) {
    ui_->setupUi(this);
    fixSize();
    setCaptions();

    loadTexts();
    auto settings = BarcodeScaleFile::load(BarcodeScaleFile::file(DataDir::current()));
    settingsRead_ = settings.result;
    for (const IoResult* read : {&textsRead_, &settingsRead_})
        if (!read->ok())
            reportWhenShown(read->message());

    setUpTexts();
    showTexts();
    showBarcodeSettings(settings.value.departmentNumber, settings.value.labelSize,
                        settings.value.barcodeType, settings.value.barcodeFormat);

    // The box runs as a clock from the PC's time; what is typed in it is replaced at the next
    // second and never sent.
    ui_->dateTimeEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    clock_ = static_cast<std::int64_t>(std::time(nullptr));
    showClock();
    clockTimer_->setObjectName(QStringLiteral("clockTimer"));
    connect(clockTimer_, &QTimer::timeout, this, &CCcsSetDlg::tick);
    clockTimer_->start(1000);

    // Nothing in the system writes tmccs.rec or sends these settings: shown, never edited.
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui_->barcodeGroup, ui_->numberLabel, ui_->labelLabel, ui_->typeLabel, ui_->formatLabel,
             ui_->departmentEdit, ui_->labelSizeBox, ui_->barcodeTypeBox, ui_->barcodeFormatBox,
             ui_->barcodeSaveButton, ui_->barcodeDownloadButton})
        control->setEnabled(false);

    settleButtons();

    connect(ui_->noteSaveButton, &QPushButton::clicked, this, &CCcsSetDlg::onSave);
    connect(ui_->dateTimeDownloadButton, &QPushButton::clicked, this,
            &CCcsSetDlg::onDownloadDateTime);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    guardUnsavedChanges([this] { return unsaved_ != std::array<bool, 3>{}; },
                        [this] { return onSave(); });

    ui_->storeNameEdit->setFocus();
    markFocusedButtonOnly();
}

CCcsSetDlg::~CCcsSetDlg() = default;

void CCcsSetDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->noteGroup->setTitle(qtr(kNoteGroup, lang_));
    ui_->storeNameLabel->setText(qtr(kStoreName, lang_));
    ui_->shopPhoneLabel->setText(qtr(kShopPhone, lang_));
    ui_->storeAddressLabel->setText(qtr(kStoreAddress, lang_));
    ui_->dateTimeLabel->setText(qtr(kDateTime, lang_));
    for (QPushButton* button :
         {ui_->storeNameDownloadButton, ui_->shopPhoneDownloadButton,
          ui_->storeAddressDownloadButton, ui_->dateTimeDownloadButton, ui_->barcodeDownloadButton})
        button->setText(qtr(kDownload, lang_));
    ui_->noteSaveButton->setText(qtr(kSave, lang_));
    ui_->barcodeGroup->setTitle(qtr(kBarcodeGroup, lang_));
    ui_->numberLabel->setText(qtr(kNumber, lang_));
    ui_->labelLabel->setText(qtr(kLabel, lang_));
    ui_->typeLabel->setText(qtr(kType, lang_));
    ui_->formatLabel->setText(qtr(kFormat, lang_));
    ui_->barcodeSaveButton->setText(qtr(kSave, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
}

void CCcsSetDlg::setUpTexts() {
    ByteLimitValidator::apply(ui_->shopPhoneEdit, StoreText::kShopPhoneBytes);
    // textEdited: the operator's typing only; showing the file's text is no edit.
    connect(ui_->shopPhoneEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { onEdited(Field::ShopPhone, text); });
    for (auto [box, field] : {std::pair{ui_->storeNameEdit, Field::StoreName},
                              std::pair{ui_->storeAddressEdit, Field::StoreAddress}}) {
        box->setTabChangesFocus(true); // a tab is no part of a receipt text
        connect(ByteLimitValidator::apply(box, StoreText::maxBytes(field)),
                &ByteLimitValidator::edited, this,
                [this, field](const QString& text) { onEdited(field, text); });
    }
    for (auto [button, field] : {std::pair{ui_->storeNameDownloadButton, Field::StoreName},
                                 std::pair{ui_->shopPhoneDownloadButton, Field::ShopPhone},
                                 std::pair{ui_->storeAddressDownloadButton, Field::StoreAddress}})
        connect(button, &QPushButton::clicked, this, [this, field] { onDownload(field); });
}

void CCcsSetDlg::showTexts() {
    ByteLimitValidator::fill(ui_->storeNameEdit, toBox(texts_.storeName, Field::StoreName));
    ByteLimitValidator::fill(ui_->shopPhoneEdit, toBox(texts_.shopPhone, Field::ShopPhone));
    ByteLimitValidator::fill(ui_->storeAddressEdit,
                             toBox(texts_.storeAddress, Field::StoreAddress));
}

void CCcsSetDlg::showBarcodeSettings(const std::string& departmentNumber,
                                     const std::string& labelSize, const std::string& barcodeType,
                                     const std::string& barcodeFormat) {
    ui_->departmentEdit->setText(fromGbk(departmentNumber));
    fillList(ui_->labelSizeBox, BarcodeScaleSettings::kLabelSizes, labelSize);
    fillList(ui_->barcodeTypeBox, BarcodeScaleSettings::kBarcodeTypes, barcodeType);
    fillList(ui_->barcodeFormatBox, BarcodeScaleSettings::kBarcodeFormats, barcodeFormat);
}

void CCcsSetDlg::onEdited(Field field, const QString& text) {
    // Only the edited text is taken from its box: the others keep the file's exact bytes.
    texts_.get(field) = fromBox(text, field);
    unsaved_[index(field)] = true;
}

bool CCcsSetDlg::onSave() {
    // After a failed read the file's texts are unknown: writing the boxes would replace them.
    if (!textsRead_.ok()) {
        Prompt::showMessage(textsRead_.message());
        return false;
    }
    const TrackedFile::Saved saved = textsFile_.saveLines(StoreTextFile::lines(texts_), lang_);
    if (saved.reload) {
        loadTexts();
        showTexts();
        unsaved_ = {};
        if (!textsRead_.ok())
            Prompt::showMessage(textsRead_.message());
        return false;
    }
    if (!saved.result.ok()) {
        Prompt::showMessage(saved.result.message());
        return false;
    }
    if (!saved.written)
        return false;
    unsaved_ = {};
    Prompt::showMessage(kSaveCompleted.get(lang_));
    return true;
}

void CCcsSetDlg::loadTexts() {
    auto loaded = StoreTextFile::load(textsFile_);
    textsRead_ = loaded.result;
    texts_ = std::move(loaded.value);
}

void CCcsSetDlg::onDownload(Field field) {
    if (const IoResult ready = DownloadGuard::check(textsRead_, unsaved_[index(field)], lang_);
        !ready) {
        Prompt::showMessage(ready.message());
        return;
    }
    CSendScalesDlg::send(texts_.downloadRequest(field), this);
}

void CCcsSetDlg::onDownloadDateTime() {
    // The time is taken once the operator has chosen the scales, not while the question waits.
    const auto target = chooseScaleTarget(JobKind::DateTimeDownload, DataDir::current(), lang_);
    const auto seconds = static_cast<std::time_t>(clock_);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    CSendScalesDlg::run(target, DateTimeDownload::request(local), this);
}

void CCcsSetDlg::tick() {
    ++clock_;
    showClock();
}

void CCcsSetDlg::showClock() {
    ui_->dateTimeEdit->setDateTime(QDateTime::fromSecsSinceEpoch(clock_));
}

} // namespace korvan
