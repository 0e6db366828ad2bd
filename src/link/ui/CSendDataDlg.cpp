#include "CSendDataDlg.h"
#include "ui_CSendDataDlg.h"

#include <QPainter>

#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/CTsDlg.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/QtText.h"
#include "common/ui/UiThread.h"
#include "link/TransferRunner.h"

namespace korvan {
namespace {
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kStopping{"正在停止读取...", "Stopping the read..."};

// The link settings live for the whole run: a line missing from tx.rec keeps its earlier value.
LinkSettings& sharedSettings() {
    static LinkSettings settings;
    return settings;
}
NetworkPorts& networkPorts() {
    static NetworkPorts ports;
    return ports;
}
} // namespace

void CSendDataDlg::setNetworkPorts(NetworkPorts ports) {
    korvan::networkPorts() = ports;
}

NetworkPorts CSendDataDlg::networkPorts() {
    return korvan::networkPorts();
}

CSendDataDlg::CSendDataDlg(JobRequest request, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      ui_(std::make_unique<Ui::CSendDataDlg>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    const Lang lang = Language::current();
    ui_->okButton->setText(qtr(kOk, lang));
    ui_->cancelButton->setText(qtr(kCancel, lang));
    ui_->okButton->hide();
    ui_->cancelButton->setEnabled(false);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CSendDataDlg::reject);

    LinkSettings& settings = sharedSettings();
    settingsRead_ = settings.load(LinkSettings::file(DataDir::current()));
    runner_ = std::make_unique<TransferRunner>(
        std::move(request), settings, ChannelFactory::standard(networkPorts()), *this, lang);
    ui_->titleLabel->setText(qtr(runner_->title()));
    ui_->countLabel->setText(QStringLiteral("0"));
}

CSendDataDlg::~CSendDataDlg() {
    // The runner stops and joins its worker before the dialog goes away.
    runner_.reset();
}

TransferReport CSendDataDlg::run(JobRequest request, QWidget* parent) {
    CSendDataDlg dialog(std::move(request), parent);
    DialogRunner::run(dialog);
    return dialog.report();
}

int CSendDataDlg::exec() {
    const int result = QDialog::exec();
    if (finalMessage_) {
        // The transfer dialog is gone first, so the message stands over the screen that started
        // the job, and that screen has the keyboard again when the message closes.
        const std::string message = std::move(*finalMessage_);
        finalMessage_.reset();
        CTsDlg::Screen over(parentWidget());
        Prompt::showMessage(message);
    }
    return result;
}

void CSendDataDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // Start once the dialog is up, so the first progress is painted.
        QMetaObject::invokeMethod(this, &CSendDataDlg::start, Qt::QueuedConnection);
    }
}

void CSendDataDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // A pop-up without a title bar: a thin frame sets it off from the screen behind it.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSendDataDlg::start() {
    // Settings that could not be read would send the job down a link nobody chose.
    if (!settingsRead_) {
        report_.message = settingsRead_.message();
        endWith(report_.message);
        return;
    }
    // The worker's events are handled on the UI thread.
    runner_->start(UiThread::queued(this, [this] { runner_->processPending(); }));
    runner_->processPending();
}

void CSendDataDlg::progress(const TransferProgress& progress) {
    const int total = static_cast<int>(std::min<std::int64_t>(progress.total, INT32_MAX));
    // A bar standing still at 3 of 2000 would look like a hung read: show it busy instead.
    ui_->progressBar->setRange(0, progress.totalUnknown ? 0 : std::max(total, 1));
    ui_->progressBar->setValue(static_cast<int>(std::min<std::int64_t>(progress.position, total)));
    ui_->countLabel->setText(qtr(progress.countText));
}

void CSendDataDlg::outcome(const LinkOutcome& outcome) {
    if (!outcome.closes() || closing_)
        return;
    endWith(outcome.message);
}

void CSendDataDlg::finished(const TransferReport& report) {
    report_ = report;
    closeOnce();
}

void CSendDataDlg::endWith(const std::string& message) {
    closing_ = true;
    finalMessage_ = message;
    closeOnce();
}

void CSendDataDlg::closeOnce() {
    if (isVisible())
        accept();
}

void CSendDataDlg::reject() {
    // Escape or the window's close box (Cancel stays disabled). Closing here would leave the
    // job half done with no word to the operator; instead a read of sales records stops after
    // the line on its way and says so, and any other job runs on: it ends by itself, at the
    // latest at the silence limit, and the dialog then closes with its outcome.
    if (runner_->requestStop())
        ui_->titleLabel->setText(qtr(kStopping, Language::current()));
}

} // namespace korvan
