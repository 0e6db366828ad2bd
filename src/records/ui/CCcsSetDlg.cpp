#include "CCcsSetDlg.h"
#include "ui_CCcsSetDlg.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <algorithm>
#include <ctime>

#include "common/DataDir.h"
#include "common/DownloadGuard.h"
#include "common/Prompt.h"
#include "common/TextCodec.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"
#include "link/ui/CSendDataDlg.h"
#include "records/BarcodeScaleFile.h"
#include "records/DateTimeDownload.h"
#include "records/StoreTextFile.h"

namespace korvan {
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

// Limits in code page 936 bytes (one Chinese character is two).
constexpr std::size_t kStoreNameBytes = 60;
constexpr std::size_t kShopPhoneBytes = 15;
constexpr std::size_t kStoreAddressBytes = 60;

constexpr char16_t kReplacement = u'\uFFFD';

bool isControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// A text as a box weighs it against its limit.
struct Measure {
    std::size_t bytes = 0; // as stored; a line break is stored as CR LF, two bytes
    int refused = 0;       // control characters the box does not take, and characters code
                           // page 936 cannot write
    int replacements = 0;  // U+FFFD: a byte from the file that is not valid GBK
};

Measure measure(const QString& text, bool multiLine) {
    Measure m;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QChar(kReplacement)) {
            ++m.bytes;
            ++m.replacements;
        } else if (c == QLatin1Char('\n') && multiLine) {
            m.bytes += 2;
        } else if (isControl(c)) {
            // Also keeps out the bytes the file uses to mark line breaks.
            ++m.refused;
        } else {
            const qsizetype n = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            if (const auto length = TextCodec::gbkLength(text.mid(i, n).toStdString()))
                m.bytes += *length;
            else
                ++m.refused;
            i += n - 1;
        }
    }
    return m;
}

// Takes an edit that fits the limit, or one that shortens a text the file gave over the limit
// (or with undecodable bytes); never one that brings in a character the box refuses.
bool acceptable(const QString& next, const QString& now, std::size_t limit, bool multiLine) {
    const Measure after = measure(next, multiLine);
    const Measure before = measure(now, multiLine);
    if (after.refused > before.refused)
        return false;
    if (after.replacements == 0 && after.bytes <= limit)
        return true;
    return after.bytes < before.bytes && after.replacements <= before.replacements;
}

// The shop phone box: the byte limit, and no control characters (a paste could bring them).
class PhoneValidator : public ByteLimitValidator {
public:
    explicit PhoneValidator(QLineEdit* edit) : ByteLimitValidator(kShopPhoneBytes, edit) {
        // The box's text before the edit being validated.
        QObject::connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
            setCurrent(text);
            before_ = text;
        });
        edit->setValidator(this);
    }
    State validate(QString& input, int& pos) const override {
        if (!filling_ && measure(input, false).refused > measure(before_, false).refused)
            return Invalid;
        return ByteLimitValidator::validate(input, pos);
    }
    // Shows the file's text, whatever it holds.
    static void fill(QLineEdit* edit, const QString& text) {
        auto* validator = dynamic_cast<PhoneValidator*>(const_cast<QValidator*>(edit->validator()));
        validator->filling_ = true;
        ByteLimitValidator::fill(edit, text);
        validator->filling_ = false;
    }

private:
    QString before_;
    bool filling_ = false;
};

// A line break of a multi-line box is CR LF in the text, as the scale prints it.
std::string fromBox(QString text, bool multiLine) {
    if (multiLine)
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toGbk(text);
}

QString toBox(const std::string& bytes, bool multiLine) {
    QString text = fromGbk(bytes);
    if (multiLine) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return text;
}

std::size_t limitOf(StoreText::Field field) {
    switch (field) {
    case StoreText::Field::ShopPhone:
        return kShopPhoneBytes;
    case StoreText::Field::StoreAddress:
        return kStoreAddressBytes;
    case StoreText::Field::StoreName:
        break;
    }
    return kStoreNameBytes;
}

std::string& fieldOf(StoreText& texts, StoreText::Field field) {
    switch (field) {
    case StoreText::Field::ShopPhone:
        return texts.shopPhone;
    case StoreText::Field::StoreAddress:
        return texts.storeAddress;
    case StoreText::Field::StoreName:
        break;
    }
    return texts.storeName;
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
      clockTimer_(new QTimer(this)), textsFile_(DataDir::current().record("xpwz.rec")) {
    ui_->setupUi(this);
    fixSize();
    setCaptions();

    loadTexts();
    auto settings = BarcodeScaleFile::load(DataDir::current().record("tmccs.rec"));
    settingsRead_ = settings.result;
    for (const IoResult* read : {&textsRead_, &settingsRead_})
        if (!read->ok())
            reportWhenShown(read->message());

    new PhoneValidator(ui_->shopPhoneEdit);
    for (QPlainTextEdit* box : {ui_->storeNameEdit, ui_->storeAddressEdit})
        box->setTabChangesFocus(true); // a tab is no part of a receipt text
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

    guardMultiLine(ui_->storeNameEdit, StoreText::Field::StoreName);
    guardMultiLine(ui_->storeAddressEdit, StoreText::Field::StoreAddress);
    // textEdited: the operator's typing only; showing the file's text is no edit.
    connect(ui_->shopPhoneEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        texts_.shopPhone = fromBox(text, false);
        unsaved_[index(StoreText::Field::ShopPhone)] = true;
    });
    connect(ui_->noteSaveButton, &QPushButton::clicked, this, &CCcsSetDlg::onSave);
    connect(ui_->storeNameDownloadButton, &QPushButton::clicked, this,
            [this] { onDownload(StoreText::Field::StoreName); });
    connect(ui_->shopPhoneDownloadButton, &QPushButton::clicked, this,
            [this] { onDownload(StoreText::Field::ShopPhone); });
    connect(ui_->storeAddressDownloadButton, &QPushButton::clicked, this,
            [this] { onDownload(StoreText::Field::StoreAddress); });
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

void CCcsSetDlg::showTexts() {
    const QString name = toBox(texts_.storeName, true);
    const QString address = toBox(texts_.storeAddress, true);
    accepted_[index(StoreText::Field::StoreName)] = name;
    accepted_[index(StoreText::Field::StoreAddress)] = address;
    ui_->storeNameEdit->setPlainText(name);
    ui_->storeAddressEdit->setPlainText(address);
    PhoneValidator::fill(ui_->shopPhoneEdit, toBox(texts_.shopPhone, false));
}

void CCcsSetDlg::showBarcodeSettings(const std::string& departmentNumber,
                                     const std::string& labelSize, const std::string& barcodeType,
                                     const std::string& barcodeFormat) {
    ui_->departmentEdit->setText(fromGbk(departmentNumber));
    fillList(ui_->labelSizeBox, BarcodeScaleSettings::kLabelSizes, labelSize);
    fillList(ui_->barcodeTypeBox, BarcodeScaleSettings::kBarcodeTypes, barcodeType);
    fillList(ui_->barcodeFormatBox, BarcodeScaleSettings::kBarcodeFormats, barcodeFormat);
}

void CCcsSetDlg::guardMultiLine(QPlainTextEdit* box, StoreText::Field field) {
    // Connected after the file's text is shown, so showing it is no edit.
    connect(box, &QPlainTextEdit::textChanged, this,
            [this, box, field] { onMultiLineChanged(box, field); });
}

void CCcsSetDlg::onMultiLineChanged(QPlainTextEdit* box, StoreText::Field field) {
    if (reverting_)
        return;
    QString& accepted = accepted_[index(field)];
    const QString now = box->toPlainText();
    if (now == accepted)
        return; // a format change only
    if (!acceptable(now, accepted, limitOf(field), true)) {
        // Put the text back as it was, the cursor where the refused input began.
        const int position =
            box->textCursor().position() - static_cast<int>(now.size() - accepted.size());
        reverting_ = true;
        box->setPlainText(accepted);
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(std::clamp(position, 0, static_cast<int>(accepted.size())));
        box->setTextCursor(cursor);
        reverting_ = false;
        return;
    }
    accepted = now;
    // Only the edited text is taken from its box: the others keep the file's exact bytes.
    fieldOf(texts_, field) = fromBox(now, true);
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

void CCcsSetDlg::onDownload(StoreText::Field field) {
    if (!DownloadGuard::allows(textsRead_, unsaved_[index(field)], lang_))
        return;
    CSendDataDlg::run(texts_.downloadRequest(field), this);
}

void CCcsSetDlg::onDownloadDateTime() {
    const auto seconds = static_cast<std::time_t>(clock_);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    CSendDataDlg::run(DateTimeDownload::request(local), this);
}

void CCcsSetDlg::tick() {
    ++clock_;
    showClock();
}

void CCcsSetDlg::showClock() {
    ui_->dateTimeEdit->setDateTime(QDateTime::fromSecsSinceEpoch(clock_));
}

} // namespace korvan
