#include "WaitReadable.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <poll.h>

namespace korvan {
namespace {

timespec timeLeft(WaitClock::time_point deadline) {
    const auto left = std::max(deadline - WaitClock::now(), WaitClock::duration::zero());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
    return {static_cast<time_t>(seconds.count()), static_cast<long>(nanoseconds.count())};
}

WaitResult waitFor(int fd, short events, int wakeFd, WaitClock::time_point deadline) {
    // poll() passes over entries whose descriptor is negative.
    pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
        // A nanosecond time-out: the pause after a send ends when it should, not at the next
        // whole millisecond.
        const timespec timeout = timeLeft(deadline);
        const int ready = ::ppoll(fds, 2, &timeout, nullptr);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return WaitResult::Failed;
        if (ready == 0)
            return WaitResult::TimedOut;
        if ((fds[0].revents | fds[1].revents) & POLLNVAL)
            return WaitResult::Failed;
        if (fds[0].revents != 0)
            return WaitResult::Ready;
        return WaitResult::Woken;
    }
}

} // namespace

WaitResult waitReadable(int fd, int wakeFd, WaitClock::time_point deadline) {
    return waitFor(fd, POLLIN, wakeFd, deadline);
}

WaitResult waitWritable(int fd, int wakeFd, WaitClock::time_point deadline) {
    return waitFor(fd, POLLOUT, wakeFd, deadline);
}

} // namespace korvan
