#pragma once
// The transfer window for several scales: runs one job on every scale of record/scales.rec at
// once, one row per scale with its progress bar and outcome, and the summary once all have ended.
// It stays open at the end, so the operator reads every scale's outcome before closing it.
#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "link/JobRequest.h"
#include "link/ScaleSetTransfer.h"
#include "link/ScaleTarget.h"

class QLabel;
class QProgressBar;

namespace Ui {
class CSendScalesDlg;
}

namespace korvan {

class CSendScalesDlg : public QDialog, public ScaleSetObserver {
    Q_OBJECT
public:
    // The request for the scale at `index` of the list (a read gives each scale a sink of its
    // own, so each scale's records are stored together).
    using RequestFor = std::function<JobRequest(std::size_t index)>;

    // Every scale of the list gets its job. A list that cannot be read or has a problem is
    // reported when the dialog starts, and no job runs.
    CSendScalesDlg(const RequestFor& requestFor, QWidget* parent);
    CSendScalesDlg(const JobRequest& request, QWidget* parent);
    ~CSendScalesDlg() override;

    // Runs the job: the transfer dialog of this scale with `requestFor(0)`, or this window for
    // every listed scale. Both run through DialogRunner.
    static void run(ScaleTarget target, const RequestFor& requestFor, QWidget* parent);
    // The same job for every scale.
    static void run(ScaleTarget target, const JobRequest& request, QWidget* parent);
    // A screen's Download: chooseScaleTarget, then run.
    static void send(const JobRequest& request, QWidget* parent);

    // How many scales have completed, over every run of the window.
    std::size_t completed() const;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    // Makes the jobs of these rows the next run.
    void prepare(std::vector<std::size_t> rows);
    // Runs the job again on the scales that did not complete it.
    void retryFailed();
    void start();
    void progress(std::size_t scale, const TransferProgress& progress) override;
    void finished(std::size_t scale, const TransferReport& report) override;
    void showEnd(const QString& summary);

    struct Row {
        QLabel* name;
        QProgressBar* bar;
        QLabel* outcome;
    };

    std::unique_ptr<Ui::CSendScalesDlg> ui_;
    std::unique_ptr<ScaleSetTransfer> transfer_;
    std::vector<ScaleJob> jobs_;       // every listed scale's job, by row
    std::vector<std::size_t> running_; // the row of each job of transfer_
    std::vector<bool> completed_;      // by row
    std::vector<Row> rows_;
    std::string refusal_; // why no job runs
    bool started_ = false;
    bool ended_ = false;
};

} // namespace korvan
