#include "CDzcjlDlg.h"
#include "CSalesSummaryDlg.h"
#include "ui_CDzcjlDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/CTsDlg.h"
#include "common/ui/BytesTableModel.h"
#include "common/ui/DesktopOpen.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/ListView.h"
#include "common/ui/QtText.h"
#include "link/ui/CSendScalesDlg.h"
#include "records/ui/PrintPages.h"
#include "records/PrintLayout.h"
#include "records/SalesCaptions.h"
#include "records/SalesRecordFile.h"
#include "records/SalesTotal.h"
#include "records/SalesWorkbook.h"

namespace korvan {
namespace {
const Tr kTitle{"电子秤记录", "Electronic Scale Recording"};
const Tr kQueryGroup{"查询记录", "Query Record"};
const Tr kDate{"日期", "Date"};
const Tr kName{"商品名", "Name"};
const Tr kTotal{"金额", "Total"};
const Tr kQuery{"查询", "Query"};
const Tr kExport{"导出", "Export"};
const Tr kPrint{"打印", "Print"};
const Tr kOperation{"操作", "operation"};
const Tr kDeleteSelection{"删除选中记录", "Delete Selection"};
const Tr kDeleteAll{"删除所有记录", "Delete all"};
const Tr kDisplayAll{"显示所有记录", "Display all"};
const Tr kScaleGroup{"电子秤", "Electronic scale"};
const Tr kRead{"读取电子秤记录", "Read records"};
const Tr kClear{"清除电子秤记录", "Clear records"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kSure{"确定吗?", "Are you sure?"};
const Tr kSelectFirst{"请先选择记录", "Please select the record first"};

constexpr std::size_t kDateBytes = SalesQuery::kDateKeyBytes;
constexpr std::size_t kNameBytes = 16;
const int kColumnWidths[SalesRows::kFields] = {150, 120, 120, 80, 80};

} // namespace

CDzcjlDlg::CDzcjlDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CDzcjlDlg>()), lang_(Language::current()),
      log_(SalesRecordFile::file(DataDir::current())) {
    ui_->setupUi(this);
    fixSize();

    std::vector<BytesTableModel::Column> columns;
    for (std::size_t i = 0; i < SalesRows::kFields; ++i)
        columns.push_back(
            {QString::fromUtf8(SalesCaptions::kColumns[i].get(lang_)), kColumnWidths[i]});
    model_ = new BytesTableModel(
        std::move(columns), [this] { return static_cast<int>(shown().size()); },
        [this](int row, int column) {
            return std::string(
                shown().field(static_cast<std::size_t>(row), static_cast<std::size_t>(column)));
        },
        this);
    ListView::setUp(ui_->recordList, model_);
    setCaptions();
    ByteLimitValidator::apply(ui_->dateEdit, kDateBytes);
    ByteLimitValidator::apply(ui_->nameEdit, kNameBytes);
    settleButtons();

    log_.load();
    if (!log_.loadResult())
        reportWhenShown(log_.loadResult().message());
    showRows();

    ListView::onEmptyAreaClick(ui_->recordList, [this] { onListClicked(); });
    // A click, a drag or a Shift/Ctrl selection: whatever the operator highlighted is selected.
    connect(ui_->recordList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CDzcjlDlg::onListClicked);
    // Enter in the query boxes runs the query.
    ui_->dateEdit->installEventFilter(this);
    ui_->nameEdit->installEventFilter(this);
    // A value typed into the total box is replaced by the computed one.
    connect(ui_->totalEdit, &QLineEdit::textChanged, this, [this] { computeTotal(); });
    connect(ui_->queryButton, &QPushButton::clicked, this, &CDzcjlDlg::onQuery);
    connect(ui_->displayAllButton, &QPushButton::clicked, this, &CDzcjlDlg::onDisplayAll);
    connect(ui_->deleteSelectionButton, &QPushButton::clicked, this, &CDzcjlDlg::onDeleteSelection);
    connect(ui_->deleteAllButton, &QPushButton::clicked, this, &CDzcjlDlg::onDeleteAll);
    connect(ui_->readButton, &QPushButton::clicked, this, &CDzcjlDlg::onReadRecords);
    connect(ui_->clearButton, &QPushButton::clicked, this, &CDzcjlDlg::onClearRecords);
    connect(ui_->printButton, &QPushButton::clicked, this, &CDzcjlDlg::onPrint);
    connect(ui_->exportButton, &QPushButton::clicked, this, &CDzcjlDlg::onExport);
    connect(ui_->summaryButton, &QPushButton::clicked, this, &CDzcjlDlg::onSummary);
    connect(ui_->okButton, &QPushButton::clicked, this, &CDzcjlDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CDzcjlDlg::reject);
    markFocusedButtonOnly();
}

CDzcjlDlg::~CDzcjlDlg() {
    // The list asks its model for rows while it is torn down, when the rows are gone already.
    ui_->recordList->setModel(nullptr);
}

void CDzcjlDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->listCaption->setText(qtr(SalesCaptions::kHeading, lang_));
    ui_->queryGroup->setTitle(qtr(kQueryGroup, lang_));
    ui_->dateCaption->setText(qtr(kDate, lang_));
    ui_->nameCaption->setText(qtr(kName, lang_));
    ui_->totalCaption->setText(qtr(kTotal, lang_));
    ui_->queryButton->setText(qtr(kQuery, lang_));
    ui_->exportButton->setText(qtr(kExport, lang_));
    ui_->summaryButton->setText(qtr(CSalesSummaryDlg::kButton, lang_));
    ui_->printButton->setText(qtr(kPrint, lang_));
    ui_->operationGroup->setTitle(qtr(kOperation, lang_));
    ui_->deleteSelectionButton->setText(qtr(kDeleteSelection, lang_));
    ui_->deleteAllButton->setText(qtr(kDeleteAll, lang_));
    ui_->displayAllButton->setText(qtr(kDisplayAll, lang_));
    ui_->scaleGroup->setTitle(qtr(kScaleGroup, lang_));
    ui_->readButton->setText(qtr(kRead, lang_));
    ui_->clearButton->setText(qtr(kClear, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
}

const SalesRows& CDzcjlDlg::shown() const {
    if (selection_)
        return *selection_;
    return log_.records();
}

void CDzcjlDlg::showRows() {
    model_->refresh();
    const bool full = !queryView();
    ui_->deleteSelectionButton->setEnabled(full);
    ui_->deleteAllButton->setEnabled(full);
    computeTotal();
}

void CDzcjlDlg::computeTotal() {
    if (totalling_)
        return;
    totalling_ = true;
    const QString total = QString::fromStdString(SalesTotal::text(shown()));
    if (ui_->totalEdit->text() != total)
        ui_->totalEdit->setText(total);
    totalling_ = false;
}

void CDzcjlDlg::deleted(const TrackedFile::Saved& saved) {
    if (saved.written) {
        mark_ = false;
        ui_->recordList->clearSelection();
        model_->refresh();
    } else if (saved.reload) {
        // The file as another program left it; the deletion is not made.
        ByteLimitValidator::fill(ui_->dateEdit, QString());
        ByteLimitValidator::fill(ui_->nameEdit, QString());
        model_->refresh();
    }
    if (!saved.result)
        Prompt::showMessage(saved.result.message());
}

void CDzcjlDlg::onListClicked() {
    if (!ListView::selectedRows(ui_->recordList).empty())
        mark_ = true;
}

bool CDzcjlDlg::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == ui_->dateEdit || watched == ui_->nameEdit) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onQuery();
            return true;
        }
    }
    return DataEntryDialog::eventFilter(watched, event);
}

void CDzcjlDlg::onQuery() {
    const std::string date = toGbk(ui_->dateEdit->text());
    if (!date.empty() && !SalesQuery::isDate(date)) {
        Prompt::showMessage(SalesQuery::dateFormatMessage().get(lang_));
        return;
    }
    log_.load();
    selection_ = SalesQuery{date, toGbk(ui_->nameEdit->text())}.run(log_.records());
    showRows();
    if (!log_.loadResult())
        Prompt::showMessage(log_.loadResult().message());
}

void CDzcjlDlg::onDisplayAll() {
    ByteLimitValidator::fill(ui_->dateEdit, QString());
    ByteLimitValidator::fill(ui_->nameEdit, QString());
    log_.load();
    selection_.reset();
    showRows();
    if (!log_.loadResult())
        Prompt::showMessage(log_.loadResult().message());
}

void CDzcjlDlg::onDeleteSelection() {
    if (!mark_) {
        Prompt::showMessage(kSelectFirst.get(lang_));
        return;
    }
    if (Prompt::ask(kSure.get(lang_))) {
        const std::set<std::size_t> selected = ListView::selectedRows(ui_->recordList);
        deleted(log_.erase({selected.begin(), selected.end()}, lang_));
    }
    computeTotal();
}

void CDzcjlDlg::onDeleteAll() {
    if (shown().size() == 0)
        Prompt::showMessage(SalesCaptions::kNoRecord.get(lang_));
    else if (Prompt::ask(kSure.get(lang_)))
        deleted(log_.eraseAll(lang_));
    computeTotal();
}

void CDzcjlDlg::onReadRecords() {
    onDisplayAll();
    if (!log_.loadResult())
        return; // already said why; the file must not be written over
    const auto target = chooseScaleTarget(JobKind::ReadRecords, DataDir::current(), lang_);
    if (target == ScaleTarget::Cancelled)
        return;
    // Rows appear as they arrive; each scale's are stored together.
    CSendScalesDlg::run(
        target,
        [this](std::size_t scale) {
            ReadRecordsPayload job;
            job.sink = [this, scale](const SalesRecord& record) {
                model_->beginAppend(1);
                log_.receive(record, scale);
                model_->endAppend();
                ui_->recordList->scrollToBottom();
            };
            return JobRequest{std::move(job)};
        },
        this);
    // Whatever arrived before a failure is kept.
    const SalesLog::Appended appended = log_.storeReceived();
    showRows();
    if (!appended.result) {
        Prompt::showMessage(appended.result.message());
        return;
    }
    if (!log_.loadResult())
        Prompt::showMessage(log_.loadResult().message());
    if (appended.alreadyThere > 0)
        Prompt::showMessage(SalesRecordFile::appendedText(appended, lang_));
    if (log_.mayHoldMore())
        Prompt::showMessage(SalesRecordFile::mayHoldMoreText(log_.lastRead(), lang_));
}

void CDzcjlDlg::onClearRecords() {
    // Records the last read could not take would be gone with the clear.
    if (log_.mayHoldMore())
        Prompt::showMessage(
            SalesRecordFile::mayHoldMoreText(SalesRecordFile::kMaxReadLines, lang_));
    const auto target = chooseScaleTarget(JobKind::ClearRecords, DataDir::current(), lang_);
    if (target == ScaleTarget::Cancelled || !Prompt::ask(kSure.get(lang_)))
        return;
    CSendScalesDlg::run(target, JobRequest{ClearRecordsPayload{}}, this);
}

void CDzcjlDlg::onPrint() {
    if (shown().size() == 0) {
        Prompt::showMessage(SalesCaptions::kNoRecord.get(lang_));
        return;
    }
    PrintPages::print(this,
                      PrintLayout(shown(), PrintCaptions::forLanguage(lang_),
                                  ui_->totalEdit->text().toStdString()),
                      lang_);
}

void CDzcjlDlg::onExport() {
    if (*exporting_)
        return; // one export at a time: a second press while it runs does nothing
    if (shown().size() == 0) {
        Prompt::showMessage(SalesCaptions::kNoRecord.get(lang_));
        return;
    }
    *exporting_ = true;
    Loaded<std::filesystem::path> file;
    IoResult written;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        file = SalesWorkbook::newTemporaryFile();
        written = file ? SalesWorkbook::write(file.value, shown(), SalesCaptions::columns(lang_))
                       : file.result;
        QApplication::restoreOverrideCursor();
    }
    if (!written) {
        *exporting_ = false;
        Prompt::showMessage(SalesWorkbook::kFailureMessage.get());
        return;
    }
    // The answer may come seconds later, or after the screen has closed: the message then stands
    // over the screen if it is still up, once.
    DesktopOpen::open(
        QString::fromStdString(file.value.string()),
        [exporting = exporting_, screen = QPointer<QWidget>(this),
         message = SalesCaptions::kNoProgram.get(lang_) + file.value.string()](bool opened) {
            *exporting = false;
            if (opened)
                return;
            const CTsDlg::Screen over(screen && screen->isVisible() ? screen.data() : nullptr);
            Prompt::showMessage(message);
        });
}

void CDzcjlDlg::onSummary() {
    CSalesSummaryDlg summary(shown(), DesktopOpen::open, this);
    DialogRunner::run(summary);
}

} // namespace korvan
