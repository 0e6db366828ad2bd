#pragma once
// The transfer dialog: runs one job against the scale with a progress bar, then shows the outcome
// in the prompt and closes itself. Every screen that talks to the scale starts its job here.
#include <QDialog>
#include <memory>

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
    // Reads the link settings of record/tx.rec (a missing line keeps the value it had before).
    CSendDataDlg(JobRequest request, QWidget* parent);
    ~CSendDataDlg() override;

    // Starts the job, runs the dialog modally until the job has ended; returns how it ended.
    static TransferReport run(JobRequest request, QWidget* parent);

    // The ports of the network link (the product's 7000 and 8000 unless tests change them).
    static void setNetworkPorts(NetworkPorts ports);

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
    void closeOnce();

    std::unique_ptr<Ui::CSendDataDlg> ui_;
    std::unique_ptr<TransferRunner> runner_;
    TransferReport report_;
    bool started_ = false;
    bool closing_ = false;
};

} // namespace korvan
