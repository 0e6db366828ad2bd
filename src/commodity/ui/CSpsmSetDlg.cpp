#include "CSpsmSetDlg.h"
#include "ui_CSpsmSetDlg.h"

#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/BytesTableModel.h"
#include "common/ui/ListView.h"
#include "common/ui/QtText.h"
#include "link/ui/CSendScalesDlg.h"

namespace korvan {
namespace {
const Tr kTitle{"商品说明", "Commodity description"};
const Tr kListCaption{"商品说明列表", "List of Product Descriptions"};
const Tr kNumberColumn{"序号", "number"};
const Tr kTextColumn{"商品说明文字", "Commodity description"};
const Tr kSpacedNumberColumn{"文本", "description"};
const Tr kSave{"保存", "Save"};
const Tr kDownload{"下传", "Download"};
} // namespace

CSpsmSetDlg::CSpsmSetDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CSpsmSetDlg>()), lang_(Language::current()),
      list_(DescriptionFile::file(DataDir::current())) {
    ui_->setupUi(this);
    fixSize();

    model_ = new BytesTableModel(
        {{qtr(kNumberColumn, lang_), 60},
         {qtr(kTextColumn, lang_), 350},
         {qtr(kSpacedNumberColumn, lang_), 80}},
        [this] { return static_cast<int>(list_.size()); },
        [this](int row, int column) {
            const DescriptionEntry& entry = list_.rows()[static_cast<std::size_t>(row)];
            return column == 0 ? entry.number : column == 1 ? entry.text : entry.numberColumn();
        },
        this);
    ListView::setUp(ui_->descriptionList, model_);
    setCaptions();

    openResult_ = list_.open();
    model_->refresh();
    ui_->numberLabel->setText(fromGbk(list_.numberLabel()));
    ui_->textEdit->clear();

    ByteLimitValidator::apply(ui_->textEdit, DescriptionEntry::kTextMaxBytes);
    settleButtons();

    // A click on an empty list counts too: it clears the chosen row.
    ListView::onEmptyAreaClick(ui_->descriptionList, [this] { onListClicked(); });
    connect(ui_->descriptionList, &QTableView::clicked, this, &CSpsmSetDlg::onListClicked);
    // textEdited: the operator's typing only; showing a row's text is no edit.
    connect(ui_->textEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        list_.textEdited(toGbk(text));
        if (list_.hasChosen())
            model_->refreshRow(static_cast<int>(list_.chosenIndex()));
    });
    connect(ui_->saveButton, &QPushButton::clicked, this, &CSpsmSetDlg::onSave);
    connect(ui_->downloadButton, &QPushButton::clicked, this, &CSpsmSetDlg::onDownload);
    guardUnsavedChanges([this] { return list_.isModified(); }, [this] { return onSave(); });
}

CSpsmSetDlg::~CSpsmSetDlg() = default;

void CSpsmSetDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->listCaption->setText(qtr(kListCaption, lang_));
    ui_->saveButton->setText(qtr(kSave, lang_));
    ui_->downloadButton->setText(qtr(kDownload, lang_));
}

void CSpsmSetDlg::showEvent(QShowEvent* event) {
    DataEntryDialog::showEvent(event);
    if (!openResult_.ok() && !openReported_) {
        openReported_ = true;
        QMetaObject::invokeMethod(
            this, [this] { Prompt::showMessage(openResult_.message()); }, Qt::QueuedConnection);
    }
}

void CSpsmSetDlg::onListClicked() {
    const std::set<std::size_t> selected = ListView::selectedRows(ui_->descriptionList);
    list_.click({selected.begin(), selected.end()});
    if (!list_.hasChosen())
        return;
    ui_->numberLabel->setText(fromGbk(list_.numberLabel()));
    ByteLimitValidator::fill(ui_->textEdit, fromGbk(list_.rows()[list_.chosenIndex()].text));
}

bool CSpsmSetDlg::onSave() {
    const TrackedFile::Saved saved = list_.save();
    if (!list_.hasChosen()) { // the operator chose to reload the file
        model_->refresh();
        ui_->numberLabel->setText(fromGbk(list_.numberLabel()));
        ui_->textEdit->clear();
    }
    if (!saved.result.ok())
        Prompt::showMessage(saved.result.message());
    else if (!saved.note.empty())
        Prompt::showMessage(saved.note);
    return saved.written;
}

void CSpsmSetDlg::onDownload() {
    if (const IoResult ready = list_.readyForDownload(); !ready) {
        Prompt::showMessage(ready.message());
        return;
    }
    CSendScalesDlg::send(list_.downloadRequest(), this);
}

} // namespace korvan
