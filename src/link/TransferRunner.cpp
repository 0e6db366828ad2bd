#include "TransferRunner.h"

#include <system_error>
#include <utility>

namespace korvan {

TransferRunner::TransferRunner(JobRequest request, LinkSettings settings,
                               ChannelFactory::Function factory, TransferObserver& observer,
                               Lang lang)
    : routine_(std::move(request), lang), settings_(std::move(settings)),
      factory_(std::move(factory)), observer_(observer), lang_(lang) {
    if (const LinkMode link = JobKinds::link(routine_.request().kind(), settings_.mode);
        link != settings_.mode)
        settings_.setMode(link);
}

TransferRunner::~TransferRunner() {
    control_.stop();
    if (worker_.joinable())
        worker_.join();
}

std::string TransferRunner::title() const {
    return JobKinds::title(routine_.request().kind(), settings_.mode).get(lang_);
}

TransferProgress TransferRunner::currentProgress() const {
    // The scale does not say how many sales records it holds: the step total is only a bound.
    const bool unknown = routine_.request().kind() == JobKind::ReadRecords;
    return {routine_.progressPosition(), routine_.stepTotal(), routine_.countText(), unknown};
}

bool TransferRunner::start(std::function<void()> notify) {
    if (started_)
        return false;
    started_ = true;
    notify_ = std::move(notify);

    const int failure = routine_.prepare();
    observer_.progress(currentProgress());
    if (failure != 0) {
        push(LinkEvent::status(failure));
        return false;
    }
    if (std::string problem = settings_.targetIpProblem(lang_);
        settings_.mode == LinkMode::Network && !problem.empty()) {
        // Said now, rather than as "no answer" once the silence limit has passed.
        push(LinkEvent::status(kBadTargetIp, std::move(problem)));
        return false;
    }
    // The channel is made here but used by the worker alone (it is handed over at the start
    // of the thread).
    std::unique_ptr<Channel> channel = factory_ ? factory_(settings_) : nullptr;
    if (!channel) {
        // No link named: nothing to open, the job ends with an empty result.
        push(LinkEvent::ended());
        return false;
    }
    const Channel& link = *channel;
    if (std::string refusal = routine_.checkMessageSizes(
            link.timing().maxMessage,
            [&link](std::string_view message) { return link.carries(message); });
        !refusal.empty()) {
        push(LinkEvent::status(kRecordTooLong, std::move(refusal)));
        return false;
    }
    control_.start();
    try {
        worker_ = std::thread(&TransferRunner::work, this, std::move(channel));
    } catch (const std::system_error&) {
        control_.stop();
        push(LinkEvent::status(kThreadFailed));
        return false;
    }
    return true;
}

void TransferRunner::push(LinkEvent event) {
    queue_.push(std::move(event));
    if (notify_)
        notify_();
}

void TransferRunner::received(std::string chunk) {
    push(LinkEvent::chunk(std::move(chunk)));
}

void TransferRunner::status(int code) {
    push(LinkEvent::status(code));
}

void TransferRunner::countText(std::string text) {
    push(LinkEvent::countText(std::move(text)));
}

void TransferRunner::work(std::unique_ptr<Channel> channel) {
    int failure = channel->open();
    if (failure == 0) {
        LinkLoop loop(*channel, control_, *this);
        failure = loop.run();
    }
    std::string text = failure != 0 ? channel->failureText(lang_) : std::string();
    channel->close();
    channel.reset();
    if (failure != 0)
        push(LinkEvent::status(failure, std::move(text)));
    else
        push(LinkEvent::ended());
}

void TransferRunner::handle(const LinkEvent& event) {
    switch (event.type) {
    case LinkEvent::Type::Chunk: {
        if (routine_.finished())
            return; // the job's outcome is settled; late answers change nothing
        const TransferProgress before = currentProgress();
        std::string message = routine_.onAnswer(event.bytes);
        if (routine_.takeReconnectRequest())
            control_.requestReconnect();
        if (message.empty() && routine_.awaitsRestOfLine())
            control_.readOn(); // a link that reads one answer per message reads the rest too
        control_.post(std::move(message));
        if (routine_.finished())
            control_.stop();
        const TransferProgress after = currentProgress();
        if (after.position != before.position || after.countText != before.countText ||
            after.total != before.total)
            observer_.progress(after);
        return;
    }
    case LinkEvent::Type::CountText: {
        TransferProgress progress = currentProgress();
        progress.countText = event.bytes;
        observer_.progress(progress);
        return;
    }
    case LinkEvent::Type::Status: {
        LinkOutcome outcome;
        if (event.code == kThreadFailed)
            outcome = {kThreadFailed, LinkOutcomes::threadFailed().get(lang_),
                       OutcomeAction::PromptAndClose};
        else
            outcome = LinkOutcomes::make(event.code, lang_);
        if (!event.message.empty())
            outcome.message = event.message;
        control_.stop();
        routine_.stop(outcome.message);
        observer_.outcome(outcome);
        if (outcome.closes())
            finish(outcome); // a failure is the worker's last word
        return;
    }
    case LinkEvent::Type::Ended: {
        const LinkOutcome outcome = LinkOutcomes::make(LinkCode::kEnded, lang_, routine_.result());
        observer_.outcome(outcome);
        finish(outcome);
        return;
    }
    }
}

void TransferRunner::finish(const LinkOutcome& outcome) {
    finished_ = true;
    report_.code = outcome.code;
    report_.message = outcome.message;
    report_.completed = outcome.code == LinkCode::kEnded && routine_.completed();
    observer_.finished(report_);
}

void TransferRunner::processPending() {
    if (!started_)
        return;
    for (const LinkEvent& event : queue_.takeAll()) {
        if (finished_)
            break;
        handle(event);
    }
}

TransferReport TransferRunner::waitAndProcess() {
    if (!started_)
        return report_;
    while (!finished_)
        for (const LinkEvent& event : queue_.waitAndTakeAll()) {
            if (finished_)
                break;
            handle(event);
        }
    return report_;
}

} // namespace korvan
