#include "CSendScalesDlg.h"
#include "ui_CSendScalesDlg.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <numeric>

#include "common/DataDir.h"
#include "common/TextCodec.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/QtText.h"
#include "common/ui/UiThread.h"
#include "link/ui/CSendDataDlg.h"

namespace korvan {
namespace {
const Tr kClose{"关闭", "Close"};
const Tr kWaiting{"等待...", "Waiting..."};
const Tr kRetry{"重试未完成的秤", "Retry failed scales"};
const Tr kStopping{"正在停止读取...", "Stopping the read..."};
} // namespace

CSendScalesDlg::CSendScalesDlg(const JobRequest& request, QWidget* parent)
    : CSendScalesDlg([&request](std::size_t) { return request; }, parent) {}

CSendScalesDlg::CSendScalesDlg(const RequestFor& requestFor, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CSendScalesDlg>()) {
    ui_->setupUi(this);
    setModal(true);
    const Lang lang = Language::current();
    ui_->closeButton->setText(qtr(kClose, lang));
    ui_->retryButton->setText(qtr(kRetry, lang));
    ui_->retryButton->hide();
    connect(ui_->closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->retryButton, &QPushButton::clicked, this, &CSendScalesDlg::retryFailed);

    ScaleList list;
    if (const IoResult ready = list.loadForJob(DataDir::current(), lang); !ready) {
        refusal_ = ready.message();
        const JobKind kind = requestFor(0).kind();
        ui_->titleLabel->setText(qtr(JobKinds::title(kind, LinkMode::None).get(lang)));
        return;
    }

    for (std::size_t i = 0; i < list.scales.size(); ++i) {
        const ScaleEntry& scale = list.scales[i];
        jobs_.push_back({scale, requestFor(i)});
        const int row = static_cast<int>(i);
        Row shown{new QLabel(qtr(TextCodec::toUtf8Lossy(scale.name)), this), new QProgressBar(this),
                  new QLabel(qtr(kWaiting, lang), this)};
        shown.name->setObjectName(QStringLiteral("scaleName%1").arg(row));
        shown.bar->setObjectName(QStringLiteral("scaleProgress%1").arg(row));
        shown.bar->setTextVisible(false);
        shown.outcome->setObjectName(QStringLiteral("scaleOutcome%1").arg(row));
        ui_->scalesGrid->addWidget(shown.name, row, 0);
        ui_->scalesGrid->addWidget(shown.bar, row, 1);
        ui_->scalesGrid->addWidget(shown.outcome, row, 2);
        rows_.push_back(shown);
    }
    ui_->titleLabel->setText(qtr(ScaleSetTransfer::title(jobs_).get(lang)));
    completed_.assign(jobs_.size(), false);
    std::vector<std::size_t> every(jobs_.size());
    std::iota(every.begin(), every.end(), std::size_t(0));
    prepare(std::move(every));
}

void CSendScalesDlg::prepare(std::vector<std::size_t> rows) {
    // The run before has ended: its receiving socket goes before the next one takes the port.
    transfer_.reset();
    std::vector<ScaleJob> jobs;
    for (const std::size_t row : rows) {
        jobs.push_back(jobs_[row]);
        rows_[row].bar->setRange(0, 1);
        rows_[row].bar->setValue(0);
        rows_[row].outcome->setText(qtr(kWaiting, Language::current()));
    }
    running_ = std::move(rows);
    transfer_ = std::make_unique<ScaleSetTransfer>(
        std::move(jobs),
        ChannelFactory::forScales(CSendDataDlg::networkPorts(), DataDir::current()), *this,
        Language::current());
}

void CSendScalesDlg::retryFailed() {
    std::vector<std::size_t> failed;
    for (std::size_t row = 0; row < completed_.size(); ++row)
        if (!completed_[row])
            failed.push_back(row);
    prepare(std::move(failed));
    ended_ = false;
    ui_->retryButton->hide();
    ui_->closeButton->setEnabled(false);
    ui_->summaryLabel->clear();
    start();
}

std::size_t CSendScalesDlg::completed() const {
    return static_cast<std::size_t>(std::count(completed_.begin(), completed_.end(), true));
}

CSendScalesDlg::~CSendScalesDlg() {
    // Every worker stops and is joined before the rows go away.
    transfer_.reset();
}

void CSendScalesDlg::run(ScaleTarget target, const RequestFor& requestFor, QWidget* parent) {
    if (target == ScaleTarget::ThisScale) {
        CSendDataDlg::run(requestFor(0), parent);
    } else if (target == ScaleTarget::AllScales) {
        CSendScalesDlg dialog(requestFor, parent);
        DialogRunner::run(dialog);
    }
}

void CSendScalesDlg::run(ScaleTarget target, const JobRequest& request, QWidget* parent) {
    run(
        target, [&request](std::size_t) { return request; }, parent);
}

void CSendScalesDlg::send(const JobRequest& request, QWidget* parent) {
    run(chooseScaleTarget(request.kind(), DataDir::current(), Language::current()), request,
        parent);
}

void CSendScalesDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        QMetaObject::invokeMethod(this, &CSendScalesDlg::start, Qt::QueuedConnection);
    }
}

void CSendScalesDlg::start() {
    if (!transfer_) {
        showEnd(qtr(refusal_));
        return;
    }
    // The workers' events are handled on the UI thread.
    transfer_->start(UiThread::queued(this, [this] {
        if (transfer_)
            transfer_->processPending();
    }));
    transfer_->processPending();
}

void CSendScalesDlg::progress(std::size_t scale, const TransferProgress& progress) {
    const Row& row = rows_[running_[scale]];
    QProgressBar* bar = row.bar;
    const int total = static_cast<int>(std::min<std::int64_t>(progress.total, INT32_MAX));
    bar->setRange(0, progress.totalUnknown ? 0 : std::max(total, 1));
    bar->setValue(static_cast<int>(std::min<std::int64_t>(progress.position, total)));
    row.outcome->setText(qtr(progress.countText));
}

void CSendScalesDlg::finished(std::size_t scale, const TransferReport& report) {
    const std::size_t row = running_[scale];
    QProgressBar* bar = rows_[row].bar;
    if (bar->maximum() == 0)
        bar->setRange(0, 1); // a read's busy bar stops
    if (report.completed)
        bar->setValue(bar->maximum());
    rows_[row].outcome->setText(qtr(report.message));
    completed_[row] = report.completed;
    if (transfer_->isFinished())
        showEnd(qtr(ScaleSetTransfer::summary(Language::current(), completed(), rows_.size())));
}

void CSendScalesDlg::showEnd(const QString& summary) {
    ended_ = true;
    ui_->retryButton->setVisible(transfer_ && completed() < rows_.size());
    ui_->summaryLabel->setText(summary);
    ui_->closeButton->setEnabled(true);
    ui_->closeButton->setFocus();
}

void CSendScalesDlg::reject() {
    // Escape or the close box: once every scale has ended the window closes; before that a read
    // of sales records stops after the line on its way on every scale, and other jobs run on to
    // their end (at the latest at the silence limit), as in the transfer dialog of one scale.
    if (ended_) {
        QDialog::reject();
        return;
    }
    bool stopping = false;
    for (std::size_t i = 0; transfer_ && i < transfer_->size(); ++i)
        stopping = transfer_->requestStop(i) || stopping;
    if (stopping)
        ui_->titleLabel->setText(qtr(kStopping, Language::current()));
}

} // namespace korvan
