#include "CSpEditDlg.h"
#include "ui_CSpEditDlg.h"

#include "commodity/CommodityList.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"

namespace korvan {
namespace {
const Tr kTitle{"商品设置", "Commodity Settings"};
const Tr kGroup{"商品编辑", "Commodity Editor"};
const Tr kName{"商品名", "name"};
const Tr kCode{"商品编码", "Commodity Code"};
const Tr kUnitPrice{"单价", "price"};
const Tr kPriceChange{"可否变价", "change price"};
const Tr kSalesMode{"销售模式", "sales model"};
const Tr kTare{"皮重", "tare"};
const Tr kShelfLife{"保质期", "expiration"};
const Tr kDiscount{"可否打折", "Discount"};
const Tr kDiscountRate{"折扣率", "Discount rate"};
const Tr kDescription{"商品说明", "description"};
const Tr kShelfLifeUnit{"天", "day"};
const Tr kSave{"保存", "Save"};
const Tr kClear{"清空", "Clear"};

// Fills a drop-down list with the two values in the order the current language sorts their
// words; each item carries its value.
template <class Value>
void fillChoices(QComboBox* box, const std::array<Value, 2>& items, Lang lang) {
    box->clear();
    for (Value value : items)
        box->addItem(qtr(std::string(ChoiceWords::displayText(value, lang))),
                     static_cast<int>(value));
}

template <class Value> void selectChoice(QComboBox* box, const std::optional<Value>& value) {
    box->setCurrentIndex(value ? box->findData(static_cast<int>(*value)) : -1);
}

template <class Value> std::optional<Value> chosenValue(const QComboBox* box) {
    if (box->currentIndex() < 0)
        return std::nullopt;
    return static_cast<Value>(box->currentData().toInt());
}
} // namespace

CSpEditDlg::CSpEditDlg(CommodityList& list, QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CSpEditDlg>()), lang_(Language::current()),
      list_(list), form_(list.editorForm()) {
    ui_->setupUi(this);
    fixSize();
    setCaptions();
    fillChoices(ui_->priceChangeBox, ChoiceWords::priceChangeItems(lang_), lang_);
    fillChoices(ui_->salesModeBox, ChoiceWords::salesModeItems(lang_), lang_);
    fillChoices(ui_->discountBox, ChoiceWords::discountItems(lang_), lang_);

    struct TextBox {
        QLineEdit* edit;
        CommodityField field;
        std::string CommodityForm::*member;
    };
    const TextBox boxes[] = {
        {ui_->nameEdit, CommodityField::Name, &CommodityForm::name},
        {ui_->codeEdit, CommodityField::Code, &CommodityForm::code},
        {ui_->unitPriceEdit, CommodityField::UnitPrice, &CommodityForm::unitPrice},
        {ui_->tareEdit, CommodityField::Tare, &CommodityForm::tare},
        {ui_->shelfLifeEdit, CommodityField::ShelfLife, &CommodityForm::shelfLife},
        {ui_->discountRateEdit, CommodityField::DiscountRate, &CommodityForm::discountRate},
        {ui_->descriptionEdit, CommodityField::DescriptionNumber,
         &CommodityForm::descriptionNumber},
    };
    for (const TextBox& box : boxes) {
        ByteLimitValidator::apply(box.edit, CommodityRecord::maxBytes(box.field));
        // Only what the operator types replaces a field's bytes; a box left alone keeps the
        // bytes it was filled with, even ones that do not decode.
        connect(box.edit, &QLineEdit::textEdited, this,
                [this, member = box.member](const QString& text) { form_.*member = toGbk(text); });
    }
    connect(ui_->priceChangeBox, &QComboBox::currentIndexChanged, this,
            [this] { form_.priceChange = chosenValue<PriceChange>(ui_->priceChangeBox); });
    connect(ui_->salesModeBox, &QComboBox::currentIndexChanged, this,
            [this] { form_.salesMode = chosenValue<SalesMode>(ui_->salesModeBox); });
    connect(ui_->discountBox, &QComboBox::currentIndexChanged, this,
            [this] { form_.discount = chosenValue<Discount>(ui_->discountBox); });

    showForm();
    settleButtons();
    connect(ui_->saveButton, &QPushButton::clicked, this, &CSpEditDlg::onSave);
    connect(ui_->clearButton, &QPushButton::clicked, this, [this] {
        form_ = CommodityForm::cleared();
        showForm();
    });
}

CSpEditDlg::~CSpEditDlg() = default;

void CSpEditDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->editorGroup->setTitle(qtr(kGroup, lang_));
    ui_->nameLabel->setText(qtr(kName, lang_));
    ui_->codeLabel->setText(qtr(kCode, lang_));
    ui_->unitPriceLabel->setText(qtr(kUnitPrice, lang_));
    ui_->priceChangeLabel->setText(qtr(kPriceChange, lang_));
    ui_->salesModeLabel->setText(qtr(kSalesMode, lang_));
    ui_->tareLabel->setText(qtr(kTare, lang_));
    ui_->shelfLifeLabel->setText(qtr(kShelfLife, lang_));
    ui_->discountLabel->setText(qtr(kDiscount, lang_));
    ui_->discountRateLabel->setText(qtr(kDiscountRate, lang_));
    ui_->descriptionLabel->setText(qtr(kDescription, lang_));
    ui_->shelfLifeUnit->setText(qtr(kShelfLifeUnit, lang_));
    ui_->saveButton->setText(qtr(kSave, lang_));
    ui_->clearButton->setText(qtr(kClear, lang_));
}

void CSpEditDlg::showForm() {
    ByteLimitValidator::fill(ui_->nameEdit, fromGbk(form_.name));
    ByteLimitValidator::fill(ui_->codeEdit, fromGbk(form_.code));
    ByteLimitValidator::fill(ui_->unitPriceEdit, fromGbk(form_.unitPrice));
    ByteLimitValidator::fill(ui_->tareEdit, fromGbk(form_.tare));
    ByteLimitValidator::fill(ui_->shelfLifeEdit, fromGbk(form_.shelfLife));
    ByteLimitValidator::fill(ui_->discountRateEdit, fromGbk(form_.discountRate));
    ByteLimitValidator::fill(ui_->descriptionEdit, fromGbk(form_.descriptionNumber));
    selectChoice(ui_->priceChangeBox, form_.priceChange);
    selectChoice(ui_->salesModeBox, form_.salesMode);
    selectChoice(ui_->discountBox, form_.discount);
}

void CSpEditDlg::onSave() {
    if (const IoResult refused = list_.editorRefusal(form_); !refused)
        Prompt::showMessage(refused.message());
    const CommodityList::EditorSave outcome = list_.saveFromEditor(form_);
    if (!outcome.write.ok())
        Prompt::showMessage(outcome.write.message());
    if (outcome.close)
        accept();
}

} // namespace korvan
