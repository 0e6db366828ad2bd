#include "CBqSetDlg.h"
#include "ui_CBqSetDlg.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include "CDkbqwjDlg.h"
#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/BytesTableModel.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/ListView.h"
#include "common/ui/QtText.h"
#include "labeldesign/LabelFont.h"
#include "link/ui/CSendScalesDlg.h"

namespace korvan {
namespace {
const Tr kTitle{"标签设置", "Label Design"};
const Tr kListCaption{"标签元素", "Label element"};
const Tr kNameColumn{"名称", "Name"};
const Tr kExplainColumn{"说明", "Explain"};
const Tr kCanvasCaption{"标签设计区", "Label Design"};
const Tr kShop{"店号", "Shop number"};
const Tr kScales{"号秤", "scales"};
const Tr kWidth{"宽度", "width"};
const Tr kHeight{"高度", "height"};
const Tr kName{"名称", "Name"};
const Tr kDirection{"打印方向", "direction"};
const Tr kFont{"字体", "font"};
const Tr kFontSize{"字体大小", "font Size"};
const Tr kDigitalFont{"数字字体", "Digital font"};
const Tr kCodeHeight{"条码高度", "Code height"};
const Tr kX{"X坐标", "X.pos"};
const Tr kY{"Y坐标", "Y.pos"};
const Tr kSave{"保存", "Save"};
const Tr kDownload{"下传", "Download"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};

const char* const kFixedColumns[] = {"Direction", "Font",  "size",   "X.pos",
                                     "Y.pos",     "State", "Down.X", "Down.Y"};

constexpr std::size_t kNameBytes = 20;
constexpr int kHeaderChars = 2;
constexpr int kPositionChars = 5;

void fillChoice(QComboBox* box, const std::string& value) {
    box->setCurrentIndex(value.empty() ? -1 : box->findText(QString::fromStdString(value)));
}

} // namespace

CBqSetDlg::CBqSetDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CBqSetDlg>()), lang_(Language::current()) {
    ui_->setupUi(this);
    fixSize();

    std::vector<BytesTableModel::Column> columns{{qtr(kNameColumn, lang_), 100},
                                                 {qtr(kExplainColumn, lang_), 100}};
    for (const char* header : kFixedColumns)
        columns.push_back({QString::fromLatin1(header), 100});
    model_ = new BytesTableModel(
        std::move(columns), [this] { return static_cast<int>(design_.label().elements.size()); },
        [this](int row, int column) {
            return design_.label().elements[static_cast<std::size_t>(row)].at(
                static_cast<LabelElement::Column>(column));
        },
        this);
    model_->setCheckBoxes(
        [this](int row) {
            return design_.label().elements[static_cast<std::size_t>(row)].ticked();
        },
        [this](int row, bool ticked) { onToggled(row, ticked); });
    ListView::setUp(ui_->elementList, model_);
    ui_->elementList->setSelectionMode(QAbstractItemView::SingleSelection);
    setCaptions();

    setUpInputs();

    // The label record/dqlabel.rec names for the language.
    design_ = LabelDesign::open(DataDir::current(), Language::flag(), lang_);
    if (!design_.openProblem().empty())
        reportWhenShown(design_.openProblem());
    ui_->canvas->setDesign(design_);
    fillHeader();
    model_->refresh();
    showLabel();
    fillPanel({});
    // New has nothing to do; the width comes from the label file only.
    ui_->newButton->setEnabled(false);
    settleButtons();
    ui_->okButton->setAutoDefault(true);

    connectSignals();
    markFocusedButtonOnly();
}

void CBqSetDlg::setUpInputs() {
    ui_->directionBox->addItems({"0", "90", "180", "270"});
    for (const char* font : LabelFont::kNames) {
        ui_->fontBox->addItem(QString::fromLatin1(font));
        ui_->digitalFontBox->addItem(QString::fromLatin1(font));
    }
    for (const FontSize& size : LabelFont::kSizes)
        ui_->fontSizeBox->addItem(QString::fromLatin1(size.name));
    for (int mm = 1; mm <= 10; ++mm)
        ui_->codeHeightBox->addItem(QString::number(mm));

    ByteLimitValidator::apply(ui_->nameEdit, kNameBytes);
    const QRegularExpression twoDigits(QStringLiteral("[0-9]{0,2}"));
    ui_->shopEdit->setValidator(new QRegularExpressionValidator(twoDigits, this));
    ui_->heightEdit->setValidator(new QRegularExpressionValidator(twoDigits, this));
    ui_->shopEdit->setMaxLength(kHeaderChars);
    ui_->widthEdit->setMaxLength(kHeaderChars);
    ui_->heightEdit->setMaxLength(kHeaderChars);
    // Whole millimetres; a drag may take an element past the label's top or left edge.
    const QRegularExpression position(QStringLiteral("-?[0-9]{0,4}|[0-9]{5}"));
    for (QLineEdit* edit : {ui_->xEdit, ui_->yEdit}) {
        edit->setValidator(new QRegularExpressionValidator(position, this));
        edit->setMaxLength(kPositionChars);
    }
}

void CBqSetDlg::connectSignals() {
    connect(ui_->canvas, &LabelCanvas::elementPicked, this, &CBqSetDlg::onPicked);
    connect(ui_->canvas, &LabelCanvas::selectionCleared, this, &CBqSetDlg::onCleared);
    connect(ui_->canvas, &LabelCanvas::dragMoved, this, &CBqSetDlg::onDragMoved);
    connect(ui_->canvas, &LabelCanvas::dragFinished, this, &CBqSetDlg::onDragFinished);
    connect(ui_->canvas, &LabelCanvas::dragAbandoned, this, &CBqSetDlg::onDragAbandoned);
    connect(ui_->elementList, &QTableView::clicked, this, &CBqSetDlg::onListClicked);
    connect(ui_->canvas, &LabelCanvas::pointerMoved, this, [this](int x, int y) {
        ui_->pointerX->setText(QString::number(x));
        ui_->pointerY->setText(QString::number(y));
    });
    // activated and textEdited: the operator's choices only, never the program's own fills.
    connect(ui_->directionBox, &QComboBox::activated, this, &CBqSetDlg::onDirection);
    connect(ui_->fontSizeBox, &QComboBox::activated, this, [this] { onSize(ui_->fontSizeBox); });
    connect(ui_->codeHeightBox, &QComboBox::activated, this,
            [this] { onSize(ui_->codeHeightBox); });
    connect(ui_->nameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        design_.setName(toGbk(text));
        showLabel();
    });
    connect(ui_->shopEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { design_.setShopNumber(toGbk(text)); });
    connect(ui_->heightEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        design_.setHeight(toGbk(text));
        showLabel();
    });
    connect(ui_->changeButton, &QPushButton::clicked, this, &CBqSetDlg::applyPosition);
    connect(ui_->openButton, &QPushButton::clicked, this, &CBqSetDlg::onOpen);
    connect(ui_->saveButton, &QPushButton::clicked, this, &CBqSetDlg::onSave);
    connect(ui_->downloadButton, &QPushButton::clicked, this, &CBqSetDlg::onDownload);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Leaving with changes asks whether to save them; Save closes once the file holds the label.
    guardUnsavedChanges([this] { return design_.modified(); },
                        [this] {
                            onSave();
                            return !design_.modified();
                        });
}

CBqSetDlg::~CBqSetDlg() {
    // The list asks its model for rows while it is torn down, when the rows are gone already.
    ui_->elementList->setModel(nullptr);
}

void CBqSetDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->listCaption->setText(qtr(kListCaption, lang_));
    ui_->canvasCaption->setText(qtr(kCanvasCaption, lang_));
    ui_->shopCaption->setText(qtr(kShop, lang_));
    ui_->scalesCaption->setText(qtr(kScales, lang_));
    ui_->widthCaption->setText(qtr(kWidth, lang_));
    ui_->heightCaption->setText(qtr(kHeight, lang_));
    ui_->nameCaption->setText(qtr(kName, lang_));
    ui_->directionCaption->setText(qtr(kDirection, lang_));
    ui_->fontCaption->setText(qtr(kFont, lang_));
    ui_->fontSizeCaption->setText(qtr(kFontSize, lang_));
    ui_->digitalFontCaption->setText(qtr(kDigitalFont, lang_));
    ui_->codeHeightCaption->setText(qtr(kCodeHeight, lang_));
    ui_->xCaption->setText(qtr(kX, lang_));
    ui_->yCaption->setText(qtr(kY, lang_));
    ui_->saveButton->setText(qtr(kSave, lang_));
    ui_->downloadButton->setText(qtr(kDownload, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
}

void CBqSetDlg::fillHeader() {
    const Label& label = design_.label();
    ui_->shopEdit->setText(fromGbk(label.shopNumber));
    ui_->widthEdit->setText(fromGbk(label.width));
    ui_->heightEdit->setText(fromGbk(label.height));
}

void CBqSetDlg::fillPanel(const ElementPanel& panel) {
    ByteLimitValidator::fill(ui_->nameEdit, fromGbk(panel.name));
    ui_->nameEdit->setCursorPosition(0); // the narrow box shows the name's start
    fillChoice(ui_->directionBox, panel.direction);
    fillChoice(ui_->fontBox, panel.font);
    fillChoice(ui_->fontSizeBox, panel.fontSize);
    fillChoice(ui_->digitalFontBox, panel.digitalFont);
    fillChoice(ui_->codeHeightBox, panel.codeHeight);
    ui_->xEdit->setText(QString::fromStdString(panel.xPos));
    ui_->yEdit->setText(QString::fromStdString(panel.yPos));
    ui_->nameEdit->setEnabled(panel.nameEnabled);
    ui_->directionBox->setEnabled(panel.directionEnabled);
    ui_->fontBox->setEnabled(false);
    ui_->fontSizeBox->setEnabled(panel.fontSizeEnabled);
    ui_->digitalFontBox->setEnabled(false);
    ui_->codeHeightBox->setEnabled(panel.codeHeightEnabled);
    ui_->xEdit->setEnabled(panel.positionEnabled);
    ui_->yEdit->setEnabled(panel.positionEnabled);
    ui_->changeButton->setEnabled(panel.positionEnabled);
    showReadOuts(design_.anchorMm(), design_.rectMm());
}

void CBqSetDlg::showReadOuts(const PixelPoint& anchor, const PixelRect& mm) {
    ui_->anchorX->setText(QString::number(anchor.x));
    ui_->anchorY->setText(QString::number(anchor.y));
    ui_->leftValue->setText(QString::number(mm.left));
    ui_->topValue->setText(QString::number(mm.top));
    ui_->rightValue->setText(QString::number(mm.right));
    ui_->bottomValue->setText(QString::number(mm.bottom));
}

void CBqSetDlg::showLabel() {
    if (const auto row = design_.selected())
        model_->refreshRow(static_cast<int>(*row));
    ui_->canvas->refresh();
    showSelection();
}

void CBqSetDlg::showSelection() {
    ui_->canvas->redraw();
    if (design_.selected())
        showReadOuts(design_.anchorMm(), design_.rectMm());
}

void CBqSetDlg::onPicked(int row) {
    fillPanel(design_.select(static_cast<std::size_t>(row)));
    ui_->elementList->selectRow(row);
    ui_->elementList->setFocus(Qt::MouseFocusReason);
}

void CBqSetDlg::showNewLabel() {
    fillHeader();
    model_->refresh();
    fillPanel({});
    showLabel();
}

void CBqSetDlg::onListClicked(const QModelIndex& index) {
    // The same as a pick on the canvas; a row the canvas cannot pick ends the selection.
    fillPanel(design_.select(static_cast<std::size_t>(index.row())));
    showSelection();
}

void CBqSetDlg::onDragAbandoned() {
    // The row keeps its position: the panel shows it again, as the canvas does.
    fillPanel(design_.panel());
}

void CBqSetDlg::onCleared() {
    design_.deselect();
    fillPanel({});
}

void CBqSetDlg::onDragMoved(int xMm, int yMm, int leftMm, int topMm, int rightMm, int bottomMm) {
    design_.dragMoved();
    ui_->xEdit->setText(QString::number(xMm));
    ui_->yEdit->setText(QString::number(yMm));
    showReadOuts({xMm, yMm}, {leftMm, topMm, rightMm, bottomMm});
}

void CBqSetDlg::onDragFinished(int row, int xMm, int yMm) {
    design_.finishDrag(static_cast<std::size_t>(row), xMm, yMm);
    model_->refreshRow(row);
    showLabel();
}

void CBqSetDlg::onToggled(int row, bool ticked) {
    ui_->elementList->selectRow(row);
    if (design_.setTicked(static_cast<std::size_t>(row), ticked))
        fillPanel({});
    showLabel();
}

void CBqSetDlg::onDirection() {
    design_.setDirection(ui_->directionBox->currentText().toStdString(),
                         ui_->xEdit->text().toStdString(), ui_->yEdit->text().toStdString());
    fillPanel(design_.panel());
    showLabel();
}

void CBqSetDlg::onSize(const QComboBox* box) {
    design_.setSize(box->currentText().toStdString());
    showLabel();
}

void CBqSetDlg::applyPosition() {
    if (!design_.selected())
        return;
    design_.applyPosition(ui_->xEdit->text().toStdString(), ui_->yEdit->text().toStdString());
    fillPanel(design_.panel());
    showLabel();
}

void CBqSetDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (focusWidget() == ui_->xEdit || focusWidget() == ui_->yEdit))
        applyPosition();
    DataEntryDialog::keyPressEvent(event);
}

void CBqSetDlg::onSave() {
    if (design_.save(lang_) == LabelDesign::Saved::Reloaded)
        showNewLabel();
}

void CBqSetDlg::onDownload() {
    if (const std::string refusal = design_.downloadRefusal(lang_); !refusal.empty()) {
        Prompt::showMessage(refusal);
        return;
    }
    // The transfer reads the label as it stands on this screen, which waits while it runs.
    CSendScalesDlg::send(design_.downloadRequest(), this);
}

void CBqSetDlg::onOpen() {
    CDkbqwjDlg chooser(*this);
    DialogRunner::run(chooser);
}

bool CBqSetDlg::openLabelFile(const std::filesystem::path& file) {
    if (!design_.open(file, lang_))
        return false;
    showNewLabel();
    return true;
}

} // namespace korvan
