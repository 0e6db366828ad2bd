#pragma once
// A small poll loop for the simulator's links: file descriptors to watch, timed callbacks (the
// answer delays), and a stop that is safe to call from another thread or a signal handler.
#include <chrono>
#include <functional>
#include <map>
#include <vector>

#include "common/UniqueFd.h"

namespace korvan::sim {

class EventLoop {
public:
    using Clock = std::chrono::steady_clock;

    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    bool valid() const { return wakeFd_.valid(); }

    // Calls `onReadable` whenever `fd` has data (or an error) to read.
    void watch(int fd, std::function<void()> onReadable);
    void unwatch(int fd);
    // Calls `fn` once after `delay`; callbacks due at the same time run in the order given.
    // A `background` callback (a periodic look at a line) does not keep stopWhenIdle() waiting.
    void after(std::chrono::milliseconds delay, std::function<void()> fn, bool background = false);
    bool hasTimers() const { return foreground_ > 0; }

    // Runs until stop(). Returns false when polling failed.
    bool run();
    // Ends run() at its next turn. Async-signal-safe.
    void stop();
    // Ends run() once no timed callback is left (answers still due are sent first).
    void stopWhenIdle() { stopWhenIdle_ = true; }

private:
    struct Watch {
        int fd;
        std::function<void()> onReadable;
    };

    UniqueFd wakeFd_;
    bool stopWhenIdle_ = false;
    std::vector<Watch> watches_;
    struct Timer {
        std::function<void()> fn;
        bool background = false;
    };
    std::multimap<Clock::time_point, Timer> timers_;
    std::size_t foreground_ = 0; // timers that are not background ones
};

} // namespace korvan::sim
