#pragma once
// What the consumer of a transfer and the link worker share: the running flag, the messages
// waiting to be sent, and a wake-up descriptor so the worker sends a message the moment it is
// posted instead of at the end of its current poll.
#include <atomic>
#include <deque>
#include <mutex>
#include <string>

#include "common/UniqueFd.h"
#include "common/WaitReadable.h"

namespace korvan {

class LinkControl {
public:
    LinkControl();
    LinkControl(const LinkControl&) = delete;
    LinkControl& operator=(const LinkControl&) = delete;

    void start() { running_.store(true); }
    // Clears the running flag and wakes the worker.
    void stop();
    bool running() const { return running_.load(); }

    // Consumer: queues the next message and wakes the worker. Messages are sent in order;
    // none replaces another.
    void post(std::string message);
    // Consumer: asks the worker to find the device again (USB reconnect).
    void requestReconnect();
    // Consumer: the answer so far is the start of a longer one; the worker reads on without
    // sending, and silence still counts (a link that reads one answer per message sent).
    void readOn();

    // Worker: the next message to send ("" when none).
    std::string take();
    bool takeReconnect();
    bool takeReadOn();

    // The eventfd the worker's polls also wait on (-1 when none could be made; polls then
    // run out their time-out).
    int wakeFd() const { return wakeFd_.get(); }
    // Worker: consumes pending wake-ups, before it looks at the messages.
    void clearWake();
    // Worker: waits until `deadline` unless the job is stopped first; false when stopped. Other
    // wake-ups are consumed on the way (what they announce stays queued).
    bool pauseUntil(std::chrono::steady_clock::time_point deadline);

private:
    void wake();

    std::atomic<bool> running_{false};
    std::mutex mutex_;
    std::deque<std::string> outbox_;
    bool reconnect_ = false;
    bool readOn_ = false;
    UniqueFd wakeFd_;
};

} // namespace korvan
