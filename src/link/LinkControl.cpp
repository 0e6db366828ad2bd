#include "LinkControl.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <utility>
#include <unistd.h>

namespace korvan {

LinkControl::LinkControl() : wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

void LinkControl::wake() {
    if (!wakeFd_)
        return;
    const std::uint64_t one = 1;
    // A full counter already means "wake up"; nothing else can fail here.
    [[maybe_unused]] ssize_t n = ::write(wakeFd_.get(), &one, sizeof one);
}

void LinkControl::clearWake() {
    if (!wakeFd_)
        return;
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_.get(), &count, sizeof count);
}

bool LinkControl::pauseUntil(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        // A stop wakes the wait, also one that came before it.
        const WaitResult waited = waitReadable(-1, wakeFd(), deadline);
        if (!running())
            return false;
        if (waited != WaitResult::Woken)
            return true;
        clearWake();
    }
}

void LinkControl::stop() {
    running_.store(false);
    wake();
}

void LinkControl::post(std::string message) {
    if (message.empty())
        return;
    {
        std::lock_guard lock(mutex_);
        outbox_.push_back(std::move(message));
    }
    wake();
}

void LinkControl::requestReconnect() {
    {
        std::lock_guard lock(mutex_);
        reconnect_ = true;
    }
    wake();
}

void LinkControl::readOn() {
    {
        std::lock_guard lock(mutex_);
        readOn_ = true;
    }
    wake();
}

bool LinkControl::takeReadOn() {
    std::lock_guard lock(mutex_);
    return std::exchange(readOn_, false);
}

std::string LinkControl::take() {
    std::lock_guard lock(mutex_);
    if (outbox_.empty())
        return {};
    std::string message = std::move(outbox_.front());
    outbox_.pop_front();
    return message;
}

bool LinkControl::takeReconnect() {
    std::lock_guard lock(mutex_);
    const bool requested = reconnect_;
    reconnect_ = false;
    return requested;
}

} // namespace korvan
