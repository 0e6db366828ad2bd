#include "LinkLoop.h"

#include "link/Protocol.h"

#include "common/WaitReadable.h"

#include <sys/prctl.h>

namespace korvan {
namespace {

using protocol::kEnd;
using protocol::kHello;

std::string upToZero(std::string bytes) {
    const auto zero = bytes.find('\0');
    if (zero != std::string::npos)
        bytes.resize(zero);
    return bytes;
}

} // namespace

LinkLoop::LinkLoop(Channel& channel, LinkControl& control, Events& events)
    : channel_(channel), control_(control), events_(events) {}

int LinkLoop::run() {
    using Clock = std::chrono::steady_clock;
    // The kernel may let a timed wait of this thread overrun by its timer slack (50 us by
    // default) to batch wake-ups; over thousands of pauses that adds up. 1 ns: on time.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    const ChannelTiming& timing = channel_.timing();
    std::string outbox(1, kHello);
    bool awaiting = false;
    int silence = 0;
    // The pause after a send runs from the moment the message has left. It is spent listening:
    // an answer that comes within it is handed on at once, and the next message leaves when
    // it ends, not before.
    Clock::time_point pauseEnd = Clock::now();

    auto send = [&](const std::string& bytes) {
        const int failure = channel_.send(bytes);
        if (failure == 0) {
            awaiting = true;
            silence = 0;
            pauseEnd = Clock::now() + timing.pauseAfterSend;
        }
        return failure;
    };

    while (control_.running()) {
        control_.clearWake();
        if (control_.takeReconnect()) {
            const int found = channel_.reconnect(
                [this](const std::string& text) { events_.countText(text); },
                [this](Clock::time_point deadline) { return control_.pauseUntil(deadline); });
            if (!control_.running())
                break;
            if (found > 0)
                return found;
            if (found == 0)
                outbox.assign(1, kHello);
        }
        if (control_.takeReadOn())
            awaiting = true; // the silence count goes on from the last answer
        if (outbox.empty())
            outbox = control_.take();
        if (!outbox.empty() && Clock::now() >= pauseEnd) {
            if (const int failure = send(outbox))
                return failure;
            outbox.clear();
        }

        const Clock::time_point now = Clock::now();
        const bool inPause = now < pauseEnd;
        if (awaiting && silence <= timing.silenceLimit) {
            // Within the pause a poll waits for its end only; finding nothing then is no
            // empty poll, as the pause comes before the silence count.
            PollResult polled =
                channel_.poll(inPause ? pauseEnd - now : timing.pollWait, control_.wakeFd());
            if (polled.failure != 0)
                return polled.failure;
            if (!polled.bytes.empty()) {
                silence = 0;
                if (timing.oneAnswerPerMessage)
                    awaiting = false;
                events_.received(upToZero(std::move(polled.bytes)));
            } else if (!polled.woken && !inPause) {
                ++silence; // the poll's own wait was the pause
            }
        } else if (!awaiting) {
            // Nothing to listen for until the routine posts a message (or the pause ends for
            // the one it has posted).
            waitReadable(-1, control_.wakeFd(),
                         inPause && !outbox.empty() ? pauseEnd : now + timing.pollWait);
        }

        if (awaiting && silence > timing.silenceLimit) {
            // Sent here rather than on the next turn: the report below stops the loop, and the
            // scale must still learn that the job is over.
            if (const int failure = send(std::string(1, kEnd)))
                return failure;
            events_.status(timing.noAnswerCode);
            return 0;
        }
    }
    return 0;
}

} // namespace korvan
