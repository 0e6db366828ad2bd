#pragma once
// Runs one transfer job: a link worker thread owns the channel and runs the link loop; every
// answer and status it meets is queued to the consuming thread, where the job routine decides
// the next message. The consumer is the transfer dialog (it gets `notify` from the worker and
// then calls processPending() on its own thread) or the command line (waitAndProcess()).
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "link/ChannelFactory.h"
#include "link/JobRoutine.h"
#include "link/LinkControl.h"
#include "link/LinkEventQueue.h"
#include "link/LinkLoop.h"
#include "link/LinkSettings.h"
#include "link/TransferObserver.h"

namespace korvan {

class TransferRunner : private LinkLoop::Events {
public:
    // Internal codes: a worker thread that could not be started; a download refused before
    // anything was sent because one of its records does not fit in one message of the link, or
    // the link cannot carry it so the scale reads it as one record.
    static constexpr int kThreadFailed = 1;
    static constexpr int kRecordTooLong = 2;
    // A network job whose target IP is no address: every message would go nowhere.
    static constexpr int kBadTargetIp = 3;

    TransferRunner(JobRequest request, LinkSettings settings, ChannelFactory::Function factory,
                   TransferObserver& observer, Lang lang = Language::current());
    // Stops the worker and waits for it.
    ~TransferRunner() override;
    TransferRunner(const TransferRunner&) = delete;
    TransferRunner& operator=(const TransferRunner&) = delete;

    // Starts the job. `notify` is called by the worker (on its thread) after each event it
    // queues. Returns false when the job ended at once (update file, no link, a record too
    // long for the link, thread); the outcome has been reported then, or is queued. Nothing
    // has been sent to the scale in those cases.
    bool start(std::function<void()> notify = {});

    // Consumer: handles every queued event. Safe to call any time, also after the end.
    void processPending();
    // Consumer: handles events as they come until the transfer is over.
    TransferReport waitAndProcess();

    // Clears the running flag; the worker stops at its next turn. Any thread.
    void cancel() { control_.stop(); }
    // Consumer: ends the job cleanly at the next point the conversation allows (a read of
    // sales records after the line on its way, keeping every line read). False for a job that
    // must run to its end; it then ends by itself, at the latest at the silence limit.
    bool requestStop() { return routine_.requestStop(); }

    bool isFinished() const { return finished_; }
    const TransferReport& report() const { return report_; }
    const JobRoutine& routine() const { return routine_; }
    // The link this job runs on (the program update always goes over USB).
    const LinkSettings& settings() const { return settings_; }
    // Title of the transfer progress, in the transfer's language.
    std::string title() const;

private:
    // LinkLoop::Events, on the worker thread.
    void received(std::string chunk) override;
    void status(int code) override;
    void countText(std::string text) override;

    void push(LinkEvent event);
    void work(std::unique_ptr<Channel> channel);
    void handle(const LinkEvent& event);
    void finish(const LinkOutcome& outcome);
    TransferProgress currentProgress() const;

    JobRoutine routine_;
    LinkSettings settings_;
    ChannelFactory::Function factory_;
    TransferObserver& observer_;
    Lang lang_;

    LinkControl control_;
    LinkEventQueue queue_;
    std::function<void()> notify_;
    std::thread worker_;

    bool started_ = false;
    bool finished_ = false;
    TransferReport report_;
};

} // namespace korvan
