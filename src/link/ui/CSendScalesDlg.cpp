#include "CSendScalesDlg.h"
#include "ui_CSendScalesDlg.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include "common/DataDir.h"
#include "common/TextCodec.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/QtText.h"
#include "link/ui/CSendDataDlg.h"

namespace korvan {
namespace {
const Tr kClose{"关闭", "Close"};
const Tr kWaiting{"等待...", "Waiting..."};
const Tr kStopping{"正在停止读取...", "Stopping the read..."};
} // namespace

CSendScalesDlg::CSendScalesDlg(const JobRequest& request, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CSendScalesDlg>()) {
    ui_->setupUi(this);
    setModal(true);
    const Lang lang = Language::current();
    ui_->closeButton->setText(qtr(kClose, lang));
    connect(ui_->closeButton, &QPushButton::clicked, this, &QDialog::accept);
    ui_->titleLabel->setText(qtr(JobKinds::title(request.kind(), LinkMode::Network).get(lang)));

    ScaleList list;
    if (const IoResult read = list.load(ScaleList::file(DataDir::current())); !read)
        refusal_ = read.message();
    else if (list.scales.empty())
        refusal_ = Tr{"没有秤列表", "No scales are listed"}.get(lang);
    else
        refusal_ = list.problem(lang);
    if (!refusal_.empty())
        return;

    std::vector<ScaleJob> jobs;
    for (std::size_t i = 0; i < list.scales.size(); ++i) {
        const ScaleEntry& scale = list.scales[i];
        jobs.push_back({scale, request});
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
    transfer_ = std::make_unique<ScaleSetTransfer>(
        std::move(jobs),
        ChannelFactory::forScales(CSendDataDlg::networkPorts(), DataDir::current()), *this, lang);
}

CSendScalesDlg::~CSendScalesDlg() {
    // Every worker stops and is joined before the rows go away.
    transfer_.reset();
}

std::size_t CSendScalesDlg::run(const JobRequest& request, QWidget* parent) {
    CSendScalesDlg dialog(request, parent);
    DialogRunner::run(dialog);
    return dialog.completed();
}

bool CSendScalesDlg::haveScaleList() {
    ScaleList list;
    return list.load(ScaleList::file(DataDir::current())).ok() && !list.scales.empty();
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
    QPointer<CSendScalesDlg> self(this);
    transfer_->start([self] {
        // A worker thread: the events are handled on the UI thread.
        QMetaObject::invokeMethod(
            self.data(),
            [self] {
                if (self && self->transfer_)
                    self->transfer_->processPending();
            },
            Qt::QueuedConnection);
    });
    transfer_->processPending();
}

void CSendScalesDlg::progress(std::size_t scale, const TransferProgress& progress) {
    QProgressBar* bar = rows_[scale].bar;
    const int total = static_cast<int>(std::min<std::int64_t>(progress.total, INT32_MAX));
    bar->setRange(0, progress.totalUnknown ? 0 : std::max(total, 1));
    bar->setValue(static_cast<int>(std::min<std::int64_t>(progress.position, total)));
    rows_[scale].outcome->setText(qtr(progress.countText));
}

void CSendScalesDlg::finished(std::size_t scale, const TransferReport& report) {
    QProgressBar* bar = rows_[scale].bar;
    if (bar->maximum() == 0)
        bar->setRange(0, 1); // a read's busy bar stops
    if (report.completed)
        bar->setValue(bar->maximum());
    rows_[scale].outcome->setText(qtr(report.message));
    if (transfer_->isFinished())
        showEnd(qtr(transfer_->summary()));
}

void CSendScalesDlg::showEnd(const QString& summary) {
    ended_ = true;
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
