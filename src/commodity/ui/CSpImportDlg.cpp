#include "CSpImportDlg.h"
#include "ui_CSpImportDlg.h"

#include <QHeaderView>

#include "commodity/CommodityColumns.h"
#include "common/ui/BytesTableModel.h"
#include "common/ui/ListView.h"
#include "common/ui/QtText.h"

namespace korvan {
namespace {
const Tr kTitle{"导入商品", "Import commodities"};
const Tr kMerge{"按编码合并", "Merge by code"};
const Tr kReplace{"替换整个列表", "Replace the whole list"};
const Tr kValidOnly{"只导入有效的行", "Import only the valid rows"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kStatusHeader{"状态", "Status"};
const Tr kLineHeader{"行", "Line"};
const Tr kReasonHeader{"原因", "Reason"};
const Tr kAdd{"新增", "Add"};
const Tr kUpdate{"更新", "Update"};
const Tr kRejected{"拒绝", "Rejected"};

// The table: the row's status and line, the ten fields under the list's headers, the reason.
constexpr int kStatusColumn = 0;
constexpr int kLineColumn = 1;
constexpr int kFirstField = 2;
constexpr int kReasonColumn = kFirstField + static_cast<int>(CommodityRecord::kFieldCount);

const QColor kRejectedBackground{255, 214, 214};
const QColor kFaultBackground{240, 150, 150}; // the cell at fault in a rejected row

const Tr& statusText(CommodityImportRow::Status status) {
    switch (status) {
    case CommodityImportRow::Status::Add:
        return kAdd;
    case CommodityImportRow::Status::Update:
        return kUpdate;
    case CommodityImportRow::Status::Rejected:
        break;
    }
    return kRejected;
}
} // namespace

CSpImportDlg::CSpImportDlg(SheetRead sheet, const std::vector<CommodityRecord>& current,
                           QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CSpImportDlg>()),
      lang_(Language::current()), sheet_(std::move(sheet)), current_(current),
      plan_(CommodityImport::plan(sheet_, current_, mode_)) {
    ui_->setupUi(this);
    // Sized and resizable to fit a 1024 x 768 screen; the table takes what room there is.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    std::vector<BytesTableModel::Column> columns;
    columns.push_back({qtr(kStatusHeader, lang_), 70});
    columns.push_back({qtr(kLineHeader, lang_), 48, Qt::AlignRight | Qt::AlignVCenter});
    for (const CommodityColumn& column : CommodityColumns::all())
        columns.push_back({qtr(column.header, lang_), column.width});
    columns.push_back({qtr(kReasonHeader, lang_), 250});
    model_ = new BytesTableModel(
        std::move(columns), [this] { return static_cast<int>(plan_.rows.size()); },
        [this](int row, int column) { return cell(row, column); }, this);
    model_->setUtf8Cells(true);
    model_->setTextToolTips(true); // a long reason still reads in full
    model_->setCellBackground([this](int row, int column) {
        const CommodityImportRow& line = plan_.rows[static_cast<std::size_t>(row)];
        if (line.status != CommodityImportRow::Status::Rejected)
            return QColor();
        const bool fault = line.field && column == kFirstField + static_cast<int>(*line.field);
        return fault ? kFaultBackground : kRejectedBackground;
    });
    ListView::setUp(ui_->previewTable, model_);
    // Status and line keep to their text, the reason keeps its width, and the fields share the
    // rest (a cut text reads in full in its tool tip).
    QHeaderView* header = ui_->previewTable->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(kStatusColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kLineColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kReasonColumn, QHeaderView::Interactive);
    setCaptions();

    ui_->mergeRadio->setChecked(true);
    settleButtons();
    // toggled, not clicked: the arrow keys move between the two as well.
    connect(ui_->replaceRadio, &QRadioButton::toggled, this, [this](bool replace) {
        replan(replace ? CommodityImport::Mode::Replace : CommodityImport::Mode::Merge);
    });
    connect(ui_->validOnlyCheck, &QCheckBox::toggled, this, &CSpImportDlg::settleOk);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showPlan();
    markFocusedButtonOnly();
}

CSpImportDlg::~CSpImportDlg() = default;

void CSpImportDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->mergeRadio->setText(qtr(kMerge, lang_));
    ui_->replaceRadio->setText(qtr(kReplace, lang_));
    ui_->validOnlyCheck->setText(qtr(kValidOnly, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
}

bool CSpImportDlg::validRowsOnly() const {
    return ui_->validOnlyCheck->isEnabled() && ui_->validOnlyCheck->isChecked();
}

void CSpImportDlg::replan(CommodityImport::Mode mode) {
    if (mode == mode_)
        return;
    mode_ = mode;
    plan_ = CommodityImport::plan(sheet_, current_, mode_);
    showPlan();
}

void CSpImportDlg::showPlan() {
    ui_->summaryLabel->setText(qtr(plan_.problem.empty() ? plan_.summary() : plan_.problem));
    model_->refresh();
    ui_->validOnlyCheck->setEnabled(plan_.problem.empty() && plan_.rejected > 0);
    settleOk();
}

void CSpImportDlg::settleOk() {
    ui_->okButton->setEnabled(plan_.takesRows(validRowsOnly()));
}

void CSpImportDlg::showEvent(QShowEvent* event) {
    DataEntryDialog::showEvent(event);
    if (focusPlaced_)
        return;
    focusPlaced_ = true;
    if (ui_->okButton->isEnabled())
        ui_->okButton->setFocus();
    else
        ui_->previewTable->setFocus();
}

std::string CSpImportDlg::cell(int row, int column) const {
    const CommodityImportRow& line = plan_.rows[static_cast<std::size_t>(row)];
    if (column == kStatusColumn)
        return statusText(line.status).get(lang_);
    if (column == kLineColumn)
        return std::to_string(line.line);
    if (column == kReasonColumn)
        return line.reason; // the cell at fault is marked in its column
    // A row taken shows the record it makes (fields of columns the file lacks filled in); a
    // rejected row shows what the file holds.
    const auto field = static_cast<std::size_t>(column - kFirstField);
    if (line.status == CommodityImportRow::Status::Rejected)
        return line.cells[field];
    return line.record.displayText(static_cast<CommodityField>(field), lang_);
}

} // namespace korvan
