#include "EventLoop.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace korvan::sim {

EventLoop::EventLoop() : wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EventLoop::~EventLoop() = default;

void EventLoop::watch(int fd, std::function<void()> onReadable) {
    unwatch(fd);
    watches_.push_back({fd, std::move(onReadable)});
}

void EventLoop::unwatch(int fd) {
    std::erase_if(watches_, [fd](const Watch& w) { return w.fd == fd; });
}

void EventLoop::after(std::chrono::milliseconds delay, std::function<void()> fn, bool background) {
    timers_.emplace(Clock::now() + delay, Timer{std::move(fn), background});
    if (!background)
        ++foreground_;
}

void EventLoop::stop() {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wakeFd_.get(), &one, sizeof one);
}

bool EventLoop::run() {
    if (!valid())
        return false;
    while (true) {
        // Due timers first, each removed before it runs so it may add new ones.
        while (!timers_.empty() && timers_.begin()->first <= Clock::now()) {
            Timer timer = std::move(timers_.begin()->second);
            timers_.erase(timers_.begin());
            if (!timer.background)
                --foreground_;
            timer.fn();
        }
        if (stopWhenIdle_ && foreground_ == 0)
            return true;

        std::vector<pollfd> fds;
        fds.push_back({wakeFd_.get(), POLLIN, 0});
        for (const auto& w : watches_)
            fds.push_back({w.fd, POLLIN, 0});
        int timeout = -1;
        if (!timers_.empty()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(timers_.begin()->first - Clock::now());
            timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
        }
        const int ready = ::poll(fds.data(), fds.size(), timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] auto got = ::read(wakeFd_.get(), &count, sizeof count);
            return true;
        }
        // Callbacks may change the watch list; dispatch by descriptor from a copy of the result.
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLERR | POLLHUP)))
                continue;
            for (const auto& w : watches_) {
                if (w.fd == fds[i].fd) {
                    auto callback = w.onReadable;
                    callback();
                    break;
                }
            }
        }
    }
}

} // namespace korvan::sim
