#include "CSpSetDlg.h"
#include "ui_CSpSetDlg.h"

#include <QFile>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>

#include "CSpEditDlg.h"
#include "CSpImportDlg.h"
#include "commodity/CommodityColumns.h"
#include "commodity/CommodityExport.h"
#include "commodity/CommodityImport.h"
#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/BytesTableModel.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/ListView.h"
#include "common/ui/QtText.h"
#include "link/ui/CSendScalesDlg.h"
#include "sheets/SheetFile.h"

namespace korvan {
namespace {
const Tr kTitle{"商品设置", "Commodity Settings"};
const Tr kListCaption{"商品列表<双击选中行编辑商品>", "List<Double-click Edit Commodities>"};
const Tr kNameLabel{"商品名", "Name"};
const Tr kFind{"查找", "Find"};
const Tr kDelete{"删除", "Delete"};
const Tr kDeleteAll{"删除全部", "Delete All"};
const Tr kNew{"新增", "New"};
const Tr kSave{"保存", "Save"};
const Tr kDownload{"下传", "Download"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kImport{"导入…", "Import…"};
const Tr kExport{"导出…", "Export…"};
const Tr kImportTitle{"导入商品", "Import commodities"};
const Tr kExportTitle{"导出商品", "Export commodities"};
const Tr kSpreadsheetFilter{"电子表格 (*.csv *.xlsx)", "Spreadsheets (*.csv *.xlsx)"};
const Tr kCsvFilter{"CSV 文件 (*.csv)", "CSV (*.csv)"};
const Tr kXlsxFilter{"Excel 工作簿 (*.xlsx)", "Excel workbooks (*.xlsx)"};
const Tr kAllFilesFilter{"所有文件 (*)", "All files (*)"};
const Tr kExported{"已导出%1个商品", "Exported %1 commodities"};
const char* const kExportName = "commodities.csv";

// Where the file dialogs open: the home folder at first, then the folder last used.
QString& lastFolder() {
    static QString folder = QDir::homePath();
    return folder;
}

std::filesystem::path localPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

std::vector<std::size_t> asVector(const std::set<std::size_t>& rows) {
    return {rows.begin(), rows.end()};
}

} // namespace

CSpSetDlg::CSpSetDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CSpSetDlg>()), lang_(Language::current()),
      list_(CommodityFile::file(DataDir::current())) {
    ui_->setupUi(this);
    fixSize();

    std::vector<BytesTableModel::Column> columns;
    for (const CommodityColumn& column : CommodityColumns::all())
        columns.push_back({qtr(column.header, lang_), column.width});
    model_ = new BytesTableModel(
        std::move(columns), [this] { return static_cast<int>(list_.size()); },
        [this](int row, int column) { return cell(row, column); }, this);
    ListView::setUp(ui_->commodityList, model_);
    setCaptions();

    openResult_ = list_.open();
    model_->refresh();
    ui_->vamoRadio->setChecked(true);

    ByteLimitValidator::apply(ui_->nameEdit, CommodityList::kNameBoxMaxBytes);
    settleButtons();
    // OK is drawn as the default button; Enter still only moves on unless OK has the focus.
    ui_->okButton->setDefault(true);

    // Empty parts of the list take clicks too: a click on an empty list clears the chosen row,
    // and a double-click with nothing selected opens the editor to add.
    ListView::onEmptyAreaClick(
        ui_->commodityList, [this] { onListClicked(); }, [this] { onListDoubleClicked(); });
    connect(ui_->commodityList, &QTableView::clicked, this, &CSpSetDlg::onListClicked);
    connect(ui_->commodityList, &QTableView::doubleClicked, this, &CSpSetDlg::onListDoubleClicked);
    // textEdited: the operator's typing only; filling the box from a row is no edit.
    connect(ui_->nameEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { list_.setWorkingName(toGbk(text)); });
    connect(ui_->orinKesaRadio, &QRadioButton::clicked, this,
            [this] { list_.setModelFamily(ModelFamily::OrinKesa); });
    connect(ui_->vamoRadio, &QRadioButton::clicked, this,
            [this] { list_.setModelFamily(ModelFamily::Vamo); });
    connect(ui_->findButton, &QPushButton::clicked, this, &CSpSetDlg::onFind);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CSpSetDlg::onDelete);
    connect(ui_->deleteAllButton, &QPushButton::clicked, this, &CSpSetDlg::onDeleteAll);
    connect(ui_->newButton, &QPushButton::clicked, this, &CSpSetDlg::onNew);
    connect(ui_->saveButton, &QPushButton::clicked, this, &CSpSetDlg::onSave);
    connect(ui_->downloadButton, &QPushButton::clicked, this, &CSpSetDlg::onDownload);
    connect(ui_->importButton, &QPushButton::clicked, this, &CSpSetDlg::onImport);
    connect(ui_->exportButton, &QPushButton::clicked, this, &CSpSetDlg::onExport);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    guardUnsavedChanges([this] { return list_.isModified(); }, [this] { return onSave(); });
}

CSpSetDlg::~CSpSetDlg() = default;

void CSpSetDlg::setCaptions() {
    // The title carries a mark while the list holds what its file lacks (after an import, say).
    setWindowTitle(qtr(kTitle, lang_) + QStringLiteral("[*]"));
    ui_->listCaption->setText(qtr(kListCaption, lang_));
    ui_->nameLabel->setText(qtr(kNameLabel, lang_));
    ui_->findButton->setText(qtr(kFind, lang_));
    ui_->deleteButton->setText(qtr(kDelete, lang_));
    ui_->deleteAllButton->setText(qtr(kDeleteAll, lang_));
    ui_->newButton->setText(qtr(kNew, lang_));
    ui_->saveButton->setText(qtr(kSave, lang_));
    ui_->downloadButton->setText(qtr(kDownload, lang_));
    ui_->importButton->setText(qtr(kImport, lang_));
    ui_->exportButton->setText(qtr(kExport, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
}

std::string CSpSetDlg::cell(int row, int column) const {
    return list_.rows()[static_cast<std::size_t>(row)].listCell(static_cast<CommodityField>(column),
                                                                lang_);
}

void CSpSetDlg::showEvent(QShowEvent* event) {
    DataEntryDialog::showEvent(event);
    if (!openResult_.ok() && !openReported_) {
        openReported_ = true;
        // Told once the screen is up, so the message stands over the (empty) list.
        QMetaObject::invokeMethod(
            this, [this] { Prompt::showMessage(openResult_.message()); }, Qt::QueuedConnection);
    }
}

void CSpSetDlg::onListClicked() {
    list_.click(asVector(ListView::selectedRows(ui_->commodityList)));
    if (list_.hasChosen())
        ByteLimitValidator::fill(ui_->nameEdit, fromGbk(list_.workingRecord().name));
}

void CSpSetDlg::onListDoubleClicked() {
    list_.doubleClick(asVector(ListView::selectedRows(ui_->commodityList)));
    openEditor();
}

void CSpSetDlg::onFind() {
    if (const IoResult found = list_.find(); !found) {
        Prompt::showMessage(found.message());
        return;
    }
    openEditor();
}

void CSpSetDlg::onNew() {
    if (const IoResult started = list_.startNew(); !started) {
        Prompt::showMessage(started.message());
        return;
    }
    ByteLimitValidator::fill(ui_->nameEdit, fromGbk(list_.workingRecord().name));
    openEditor();
}

void CSpSetDlg::onDelete() {
    list_.deleteSelected(asVector(ListView::selectedRows(ui_->commodityList)));
    refreshRows();
}

void CSpSetDlg::onDeleteAll() {
    list_.deleteAll();
    refreshRows();
}

void CSpSetDlg::refreshRows() {
    model_->refresh();
    setWindowModified(list_.isModified());
}

bool CSpSetDlg::onSave() {
    const TrackedFile::Saved saved = list_.save();
    // The operator may have chosen to reload the file: the list and the working record are new.
    refreshRows();
    ByteLimitValidator::fill(ui_->nameEdit, fromGbk(list_.workingRecord().name));
    if (!saved.result.ok())
        Prompt::showMessage(saved.result.message());
    else if (!saved.note.empty())
        Prompt::showMessage(saved.note);
    return saved.written;
}

void CSpSetDlg::onDownload() {
    if (const IoResult ready = list_.readyForDownload(); !ready) {
        Prompt::showMessage(ready.message());
        return;
    }
    CSendScalesDlg::send(list_.downloadRequest(), this);
}

void CSpSetDlg::onImport() {
    // Rows taken now would be saved over a file nobody has seen.
    if (!list_.loadResult().ok()) {
        Prompt::showMessage(list_.loadResult().message());
        return;
    }
    QFileDialog dialog(this, qtr(kImportTitle, lang_), lastFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({qtr(kSpreadsheetFilter, lang_), qtr(kCsvFilter, lang_),
                           qtr(kXlsxFilter, lang_), qtr(kAllFilesFilter, lang_)});
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().front();
    lastFolder() = QFileInfo(chosen).absolutePath();

    bool taken = false;
    {
        // Read once: the preview plans the same rows in either mode.
        CSpImportDlg preview(SheetFile::read(localPath(chosen)), list_.rows(), this);
        if (!preview.plan().problem.empty()) {
            Prompt::showMessage(preview.plan().problem);
            return;
        }
        if (DialogRunner::run(preview) == QDialog::Accepted)
            taken = list_.takeRows(preview.merged());
    }
    if (!taken)
        return;
    refreshRows();
    ByteLimitValidator::fill(ui_->nameEdit, fromGbk(list_.workingRecord().name));
}

void CSpSetDlg::onExport() {
    const QString csvFilter = qtr(kCsvFilter, lang_);
    const QString xlsxFilter = qtr(kXlsxFilter, lang_);
    QFileDialog dialog(this, qtr(kExportTitle, lang_), lastFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before replacing a file
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({csvFilter, xlsxFilter});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QString::fromLatin1(kExportName));
    // A name typed without an extension takes the chosen kind's.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(filter == xlsxFilter ? QStringLiteral("xlsx")
                                                     : QStringLiteral("csv"));
    });
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString chosen = dialog.selectedFiles().front();
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += dialog.selectedNameFilter() == xlsxFilter ? QStringLiteral(".xlsx")
                                                            : QStringLiteral(".csv");
    lastFolder() = QFileInfo(chosen).absolutePath();

    const IoResult result = CommodityExport::write(localPath(chosen), list_.rows(), lang_);
    if (!result) {
        Prompt::showMessage(result.message());
        return;
    }
    Prompt::showMessage(
        qtr(kExported, lang_).arg(static_cast<qulonglong>(list_.size())).toStdString());
}

void CSpSetDlg::openEditor() {
    {
        CSpEditDlg editor(list_, this);
        DialogRunner::run(editor);
    }
    showList();
}

void CSpSetDlg::showList() {
    // An edited row keeps the selection it had; after an added row the rows are all new.
    const std::size_t before = static_cast<std::size_t>(model_->rowCount());
    const std::set<std::size_t> selected = ListView::selectedRows(ui_->commodityList);
    refreshRows();
    if (list_.size() == before) {
        QItemSelection selection;
        for (std::size_t row : selected) {
            const int r = static_cast<int>(row);
            selection.select(model_->index(r, 0), model_->index(r, model_->columnCount() - 1));
        }
        ui_->commodityList->selectionModel()->select(selection, QItemSelectionModel::Select);
    }
    // The Name box shows the working record, which the editor's Save resets.
    ByteLimitValidator::fill(ui_->nameEdit, fromGbk(list_.workingRecord().name));
}

} // namespace korvan
