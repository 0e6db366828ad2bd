#pragma once
// A channel for tests: a scripted scale answers each message with zero or more chunks, and
// every message sent is logged. The log is shared with the test, which keeps it after the
// worker has destroyed the channel.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/WaitReadable.h"
#include "link/Channel.h"
#include "link/LinkOutcome.h"

namespace korvan::test {

inline ChannelTiming fastTiming(int silenceLimit = 40) {
    ChannelTiming timing;
    timing.pauseAfterSend = std::chrono::milliseconds(0);
    timing.pollWait = std::chrono::milliseconds(2);
    timing.silenceLimit = silenceLimit;
    timing.noAnswerCode = LinkCode::kNetworkNoAnswer;
    return timing;
}

struct FakeLink {
    using Scale = std::function<std::vector<std::string>(const std::string& message)>;

    explicit FakeLink(Scale s = {}, ChannelTiming t = fastTiming())
        : scale(std::move(s)), timing(t) {}

    Scale scale;
    ChannelTiming timing;
    int openFailure = 0;
    int sendFailureAt = -1; // index of the send that fails, with sendFailureCode
    int sendFailureCode = LinkCode::kUsbWriteFailed;
    int reconnectResult = Channel::kNoReconnect;

    std::vector<std::string> sent() const {
        std::lock_guard lock(mutex);
        return sent_;
    }
    int polls() const {
        std::lock_guard lock(mutex);
        return polls_;
    }
    int opens() const {
        std::lock_guard lock(mutex);
        return opens_;
    }
    // Waits until `done(link)` holds (checked under the lock after every open, send and poll)
    // or the limit passes; false on the limit.
    template <typename Done>
    bool waitUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return done(*this); });
    }
    int reconnects() const {
        std::lock_guard lock(mutex);
        return reconnects_;
    }
    bool closed() const {
        std::lock_guard lock(mutex);
        return closed_;
    }
    // Queues a chunk as if the scale had sent it unasked.
    void inject(std::string chunk) {
        std::lock_guard lock(mutex);
        pending_.push_back(std::move(chunk));
    }

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> sent_;
    std::vector<std::string> pending_;
    int polls_ = 0;
    int opens_ = 0;
    int reconnects_ = 0;
    bool closed_ = false;
};

class FakeChannel : public Channel {
public:
    explicit FakeChannel(std::shared_ptr<FakeLink> link) : link_(std::move(link)) {}

    int open() override {
        {
            std::lock_guard lock(link_->mutex);
            ++link_->opens_;
        }
        link_->changed.notify_all();
        return link_->openFailure;
    }

    int send(std::string_view bytes) override {
        Notify notify(*link_);
        std::lock_guard lock(link_->mutex);
        if (static_cast<int>(link_->sent_.size()) == link_->sendFailureAt)
            return link_->sendFailureCode;
        link_->sent_.emplace_back(bytes);
        if (link_->scale)
            for (std::string& answer : link_->scale(std::string(bytes)))
                link_->pending_.push_back(std::move(answer));
        return 0;
    }

    PollResult poll(std::chrono::nanoseconds wait, int wakeFd) override {
        {
            Notify notify(*link_);
            std::lock_guard lock(link_->mutex);
            ++link_->polls_;
            if (!link_->pending_.empty()) {
                PollResult result;
                result.bytes = link_->pending_.front();
                link_->pending_.erase(link_->pending_.begin());
                return result;
            }
        }
        PollResult result;
        result.woken = waitReadable(-1, wakeFd, WaitClock::now() + wait) == WaitResult::Woken;
        return result;
    }

    void close() override {
        std::lock_guard lock(link_->mutex);
        link_->closed_ = true;
    }

    const ChannelTiming& timing() const override { return link_->timing; }

    [[nodiscard]] int reconnect(const std::function<void(const std::string&)>& showCount,
                                const PauseUntil&) override {
        {
            std::lock_guard lock(link_->mutex);
            ++link_->reconnects_;
        }
        if (link_->reconnectResult != kNoReconnect)
            showCount("In connection.");
        return link_->reconnectResult;
    }

private:
    // Wakes the waiting test once the change is made and the lock released.
    struct Notify {
        FakeLink& link;
        ~Notify() { link.changed.notify_all(); }
    };

    std::shared_ptr<FakeLink> link_;
};

// A scale that behaves: hello back, an acknowledgement for every command and record, the end
// byte back; `records` lines answer the read-records requests.
inline FakeLink::Scale goodScale(std::vector<std::string> records = {}) {
    auto next = std::make_shared<std::size_t>(0);
    bool reading = false;
    return [records = std::move(records), next,
            reading](const std::string& m) mutable -> std::vector<std::string> {
        if (m == "\xAA")
            return {"\xAA"};
        if (m == "\x0F")
            return {"\x0F"};
        if (m == "\x08") {
            reading = true;
            return {"\x0D"};
        }
        if (reading && m == "\x0D") {
            if (*next < records.size())
                return {records[(*next)++]};
            return {"\x0F"};
        }
        return {"\x0D"};
    };
}

} // namespace korvan::test
