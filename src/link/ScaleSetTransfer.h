#pragma once
// One transfer job for several scales at once: one job routine (a TransferRunner with its own
// link worker) per scale, all started together and all handled on the consuming thread. Each
// scale keeps its own pauses, silence count and outcome; a scale that fails does not stop the
// others. Over the network the scales share one receiving socket (ChannelFactory::forScales).
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/ChannelFactory.h"
#include "link/JobRequest.h"
#include "link/ScaleList.h"
#include "link/TransferObserver.h"

namespace korvan {

class TransferRunner;

struct ScaleJob {
    ScaleEntry scale;
    JobRequest request; // this scale's own (a read of sales records sinks per scale)
};

// How a job for several scales reports, on the consuming thread; `scale` is the index of the
// scale's job.
class ScaleSetObserver {
public:
    virtual ~ScaleSetObserver() = default;
    virtual void progress(std::size_t scale, const TransferProgress& progress) {
        (void)scale;
        (void)progress;
    }
    virtual void finished(std::size_t scale, const TransferReport& report) {
        (void)scale;
        (void)report;
    }
};

class ScaleSetTransfer {
public:
    ScaleSetTransfer(std::vector<ScaleJob> jobs, ChannelFactory::Function factory,
                     ScaleSetObserver& observer, Lang lang = Language::current());
    // Stops every worker and waits for them.
    ~ScaleSetTransfer();
    ScaleSetTransfer(const ScaleSetTransfer&) = delete;
    ScaleSetTransfer& operator=(const ScaleSetTransfer&) = delete;

    // Starts every scale's job. `notify` is called by the workers after each event they queue.
    void start(std::function<void()> notify = {});
    // Consumer: handles every queued event of every scale.
    void processPending();
    // Consumer: handles events as they come until every scale's job is over.
    void waitAndProcess();
    // Stops every scale's job at its next turn. Any thread.
    void cancel();
    // Consumer: ends one scale's job cleanly where the conversation allows (TransferRunner).
    bool requestStop(std::size_t index);

    std::size_t size() const { return scales_.size(); }
    bool isFinished() const;
    const ScaleEntry& scale(std::size_t index) const { return scales_[index]; }
    const TransferReport& report(std::size_t index) const;
    std::size_t completedCount() const;
    bool allCompleted() const { return completedCount() == size(); }

    // "name: outcome" of one scale, in the transfer's language.
    std::string outcomeLine(std::size_t index) const;
    // "3 of 4 scales completed".
    static std::string summary(Lang lang, std::size_t completed, std::size_t total);
    // The progress title of a job on these scales (not empty): the title of their link when
    // they all share one, else the plain one.
    static Tr title(const std::vector<ScaleJob>& jobs);

private:
    class Forward;

    std::vector<ScaleEntry> scales_; // each job's request went to its runner
    std::vector<std::unique_ptr<Forward>> forwards_;
    std::vector<std::unique_ptr<TransferRunner>> runners_;

    std::mutex mutex_;
    std::condition_variable pending_;
    bool hasPending_ = false;
    std::function<void()> notify_;
};

} // namespace korvan
