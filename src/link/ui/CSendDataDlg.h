#pragma once
// The transfer dialog: runs one job against the scale with a progress bar, closes itself, then
// shows the outcome in the prompt over the screen that started the job. Every screen that talks to
// the scale starts its job here.
#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "link/ChannelFactory.h"
#include "link/JobRequest.h"
#include "link/TransferObserver.h"

namespace Ui {
class CSendDataDlg;
}

namespace korvan {

class TransferRunner;

class CSendDataDlg : public QDialog, public TransferObserver {
    Q_OBJECT
public:
    // Reads the link settings of record/tx.rec (a missing line keeps the value it had before; a
    // file that cannot be read is reported when the dialog starts, and the job does not run).
    CSendDataDlg(JobRequest request, QWidget* parent);
    ~CSendDataDlg() override;

    // Starts the job, runs the dialog modally until the job has ended; returns how it ended.
    // The dialog goes through DialogRunner, so tests can replace how it is run.
    static TransferReport run(JobRequest request, QWidget* parent);

    // Runs the transfer modally; once the dialog has closed, shows the final message over the
    // screen that started the job (the parent).
    int exec() override;

    // The ports of the network link (the product's 7000 and 8000 unless tests change them).
    static void setNetworkPorts(NetworkPorts ports);
    static NetworkPorts networkPorts();

    const TransferReport& report() const { return report_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

private:
    void start();
    void progress(const TransferProgress& progress) override;
    void outcome(const LinkOutcome& outcome) override;
    void finished(const TransferReport& report) override;
    // Closes the dialog; the message follows once it is gone.
    void endWith(const std::string& message);
    void closeOnce();

    std::unique_ptr<Ui::CSendDataDlg> ui_;
    std::unique_ptr<TransferRunner> runner_;
    IoResult settingsRead_;
    std::optional<std::string> finalMessage_;
    TransferReport report_;
    bool started_ = false;
    bool closing_ = false;
};

} // namespace korvan
