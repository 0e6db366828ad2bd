#include "common/WaitReadable.h"

#include <gtest/gtest.h>

#include <csignal>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>

#include "common/UniqueFd.h"

using namespace korvan;
using namespace std::chrono_literals;

TEST(WaitReadable, WhichDescriptorEndsTheWaitAndWhen) {
    enum Fd { Quiet, Data, HungUp, None, NotOpen };
    const struct {
        const char* name;
        Fd fd;
        bool wake;
        std::chrono::milliseconds deadline; // from now; negative: already past
        WaitResult result;
        bool signal = false; // one arrives during the wait (no SA_RESTART: EINTR)
    } cases[] = {
        {"bytes waiting", Data, false, 2s, WaitResult::Ready},
        {"bytes win over a wake-up", Data, true, 2s, WaitResult::Ready},
        {"a hang-up is for the read to find", HungUp, false, 2s, WaitResult::Ready},
        {"a wake-up", Quiet, true, 2s, WaitResult::Woken},
        {"nothing comes", Quiet, false, 40ms, WaitResult::TimedOut},
        {"a signal does not cut the wait short", None, false, 100ms, WaitResult::TimedOut, true},
        {"a past deadline looks once", Data, false, -1s, WaitResult::Ready},
        {"a past deadline, nothing there", Quiet, false, -1s, WaitResult::TimedOut},
        {"a descriptor that is not open", NotOpen, false, 2s, WaitResult::Failed},
    };
    struct sigaction action {
    }, previous{};
    action.sa_handler = [](int) {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int pair[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
        const UniqueFd ours(pair[0]);
        UniqueFd theirs(pair[1]);
        const UniqueFd wake(::eventfd(c.wake ? 1 : 0, EFD_CLOEXEC));
        ASSERT_TRUE(c.fd != Data || ::write(theirs.get(), "x", 1) == 1);
        if (c.fd == HungUp)
            theirs.reset();
        std::thread signaller([&c, waiter = ::pthread_self()] {
            std::this_thread::sleep_for(20ms);
            if (c.signal)
                ::pthread_kill(waiter, SIGUSR1);
        });
        const int fd = c.fd == None ? -1 : c.fd == NotOpen ? 1 << 20 : ours.get();
        const auto begun = WaitClock::now();
        EXPECT_EQ(waitReadable(fd, wake.get(), begun + c.deadline), c.result);
        // Timed out with time to go: waited to the deadline. Anything else: at once.
        const bool waitsOut = c.result == WaitResult::TimedOut && c.deadline > 0ms;
        EXPECT_EQ(WaitClock::now() - begun >= (waitsOut ? c.deadline : 1s), waitsOut);
        EXPECT_TRUE(c.fd != Quiet || waitWritable(fd, -1, begun) == WaitResult::Ready);
        signaller.join();
    }
    ::sigaction(SIGUSR1, &previous, nullptr);
}
