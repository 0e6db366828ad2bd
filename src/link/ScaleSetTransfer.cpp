#include "ScaleSetTransfer.h"

#include <algorithm>

#include "common/TextCodec.h"
#include "link/TransferRunner.h"

namespace korvan {

// One scale's reports, passed on with its index.
class ScaleSetTransfer::Forward : public TransferObserver {
public:
    Forward(ScaleSetObserver& observer, std::size_t index) : observer_(observer), index_(index) {}
    void progress(const TransferProgress& progress) override {
        observer_.progress(index_, progress);
    }
    void finished(const TransferReport& report) override { observer_.finished(index_, report); }

private:
    ScaleSetObserver& observer_;
    std::size_t index_;
};

ScaleSetTransfer::ScaleSetTransfer(std::vector<ScaleJob> jobs, ChannelFactory::Function factory,
                                   ScaleSetObserver& observer, Lang lang) {
    scales_.reserve(jobs.size());
    forwards_.reserve(jobs.size());
    runners_.reserve(jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        scales_.push_back(std::move(jobs[i].scale));
        forwards_.push_back(std::make_unique<Forward>(observer, i));
        runners_.push_back(std::make_unique<TransferRunner>(
            std::move(jobs[i].request), scales_[i].settings(), factory, *forwards_[i], lang));
    }
}

ScaleSetTransfer::~ScaleSetTransfer() {
    cancel();
    runners_.clear(); // joins every worker before the forwards go
}

void ScaleSetTransfer::start(std::function<void()> notify) {
    notify_ = std::move(notify);
    auto queued = [this] {
        {
            const std::lock_guard lock(mutex_);
            hasPending_ = true;
        }
        pending_.notify_one();
        if (notify_)
            notify_();
    };
    for (const auto& runner : runners_)
        runner->start(queued);
}

void ScaleSetTransfer::processPending() {
    {
        const std::lock_guard lock(mutex_);
        hasPending_ = false;
    }
    for (const auto& runner : runners_)
        runner->processPending();
}

void ScaleSetTransfer::waitAndProcess() {
    while (!isFinished()) {
        {
            std::unique_lock lock(mutex_);
            pending_.wait(lock, [this] { return hasPending_; });
        }
        processPending();
    }
}

void ScaleSetTransfer::cancel() {
    for (const auto& runner : runners_)
        runner->cancel();
}

bool ScaleSetTransfer::requestStop(std::size_t index) {
    return runners_[index]->requestStop();
}

bool ScaleSetTransfer::isFinished() const {
    for (const auto& runner : runners_)
        if (!runner->isFinished())
            return false;
    return true;
}

const TransferReport& ScaleSetTransfer::report(std::size_t index) const {
    return runners_[index]->report();
}

std::size_t ScaleSetTransfer::completedCount() const {
    std::size_t completed = 0;
    for (const auto& runner : runners_)
        completed += runner->isFinished() && runner->report().completed ? 1 : 0;
    return completed;
}

std::string ScaleSetTransfer::outcomeLine(std::size_t index) const {
    return TextCodec::toUtf8Lossy(scales_[index].name) + ": " + report(index).message;
}

std::string ScaleSetTransfer::summary(Lang lang, std::size_t completed, std::size_t total) {
    if (lang == Lang::Chinese)
        return std::to_string(total) + "台秤中" + std::to_string(completed) + "台完成";
    return std::to_string(completed) + " of " + std::to_string(total) + " scales completed";
}

Tr ScaleSetTransfer::title(const std::vector<ScaleJob>& jobs) {
    const LinkMode first = jobs.front().scale.link.mode;
    const bool shared = std::all_of(jobs.begin(), jobs.end(), [first](const ScaleJob& job) {
        return job.scale.link.mode == first;
    });
    const JobKind kind = jobs.front().request.kind();
    return JobKinds::title(kind, JobKinds::link(kind, shared ? first : LinkMode::None));
}

} // namespace korvan
