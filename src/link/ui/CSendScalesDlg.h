#pragma once
// The transfer window for several scales: runs one job on every scale of record/scales.rec at
// once, one row per scale with its progress bar and outcome, and the summary once all have ended.
// It stays open at the end, so the operator reads every scale's outcome before closing it.
#include <QDialog>
#include <memory>
#include <vector>

#include "link/JobRequest.h"
#include "link/ScaleSetTransfer.h"

class QLabel;
class QProgressBar;

namespace Ui {
class CSendScalesDlg;
}

namespace korvan {

class CSendScalesDlg : public QDialog, public ScaleSetObserver {
    Q_OBJECT
public:
    // Every scale of the list gets the job of `request` (a read's records all go to its sink, one
    // whole record at a time). A list that cannot be read or has a problem is reported when the
    // dialog starts, and no job runs.
    CSendScalesDlg(const JobRequest& request, QWidget* parent);
    ~CSendScalesDlg() override;

    // Runs the dialog through DialogRunner; returns how many scales completed.
    static std::size_t run(const JobRequest& request, QWidget* parent);
    // Whether the data folder lists scales, so a screen offers "all scales".
    static bool haveScaleList();

    std::size_t completed() const { return transfer_ ? transfer_->completedCount() : 0; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
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
    std::vector<Row> rows_;
    std::string refusal_; // why no job runs
    bool started_ = false;
    bool ended_ = false;
};

} // namespace korvan
