#include "common/WaitReadable.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "common/UniqueFd.h"

using namespace korvan;
using namespace std::chrono_literals;

namespace {

struct Pair {
    Pair() {
        int fds[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            throw std::runtime_error("socketpair");
        ours.reset(fds[0]);
        theirs.reset(fds[1]);
    }
    UniqueFd ours, theirs;
};

void onSignal(int) {}

} // namespace

TEST(WaitReadable, WhichDescriptorEndsTheWaitAndWhen) {
    enum class Fd { Quiet, Data, HungUp, None, NotOpen };
    const struct Case {
        const char* name;
        Fd fd;
        bool wake;
        std::chrono::milliseconds deadline; // from now; negative: already past
        WaitResult result;
        bool waitsOut; // takes the whole time to the deadline
    } cases[] = {
        {"bytes waiting", Fd::Data, false, 2s, WaitResult::Ready, false},
        {"a wake-up", Fd::Quiet, true, 2s, WaitResult::Woken, false},
        {"bytes win over a wake-up", Fd::Data, true, 2s, WaitResult::Ready, false},
        {"a hang-up is for the read to find", Fd::HungUp, false, 2s, WaitResult::Ready, false},
        {"nothing comes", Fd::Quiet, false, 40ms, WaitResult::TimedOut, true},
        {"a past deadline looks once", Fd::Data, false, -1s, WaitResult::Ready, false},
        {"a past deadline, nothing there", Fd::Quiet, false, -1s, WaitResult::TimedOut, false},
        {"no descriptor sleeps to the deadline", Fd::None, false, 40ms, WaitResult::TimedOut, true},
        {"no descriptor, woken", Fd::None, true, 2s, WaitResult::Woken, false},
        {"a descriptor that is not open", Fd::NotOpen, false, 2s, WaitResult::Failed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair;
        const UniqueFd wake(::eventfd(c.wake ? 1 : 0, EFD_CLOEXEC | EFD_NONBLOCK));
        if (c.fd == Fd::Data) {
            ASSERT_EQ(::write(pair.theirs.get(), "x", 1), 1);
        }
        if (c.fd == Fd::HungUp)
            pair.theirs.reset();
        const int fd = c.fd == Fd::None ? -1 : c.fd == Fd::NotOpen ? 1 << 20 : pair.ours.get();
        const auto begun = WaitClock::now();
        EXPECT_EQ(waitReadable(fd, wake.get(), begun + c.deadline), c.result);
        const auto took = WaitClock::now() - begun;
        if (c.waitsOut)
            EXPECT_GE(took, c.deadline);
        else
            EXPECT_LT(took, 1s);
    }

    Pair pair;
    EXPECT_EQ(waitWritable(pair.ours.get(), -1, WaitClock::now() + 1s), WaitResult::Ready);
}

TEST(WaitReadable, ASignalDoesNotCutTheWaitShort) {
    struct sigaction action {};
    struct sigaction previous {};
    action.sa_handler = onSignal; // without SA_RESTART: the wait itself sees EINTR
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);
    const pthread_t waiter = ::pthread_self();
    std::thread signaller([waiter] {
        std::this_thread::sleep_for(20ms);
        ::pthread_kill(waiter, SIGUSR1);
    });
    Pair pair;
    const auto begun = WaitClock::now();
    EXPECT_EQ(waitReadable(pair.ours.get(), -1, begun + 100ms), WaitResult::TimedOut);
    EXPECT_GE(WaitClock::now() - begun, 100ms);
    signaller.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
}
