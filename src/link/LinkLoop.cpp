#include "LinkLoop.h"

#include "link/Protocol.h"

#include <poll.h>
#include <thread>

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

void LinkLoop::waitForWake() {
    const auto wait = channel_.timing().pollWait;
    if (control_.wakeFd() < 0) {
        std::this_thread::sleep_for(wait);
        return;
    }
    pollfd fd{control_.wakeFd(), POLLIN, 0};
    ::poll(&fd, 1, static_cast<int>(wait.count()));
}

int LinkLoop::run() {
    const ChannelTiming& timing = channel_.timing();
    std::string outbox(1, kHello);
    bool awaiting = false;
    int silence = 0;

    auto send = [&](const std::string& bytes) {
        const int failure = channel_.send(bytes);
        if (failure == 0) {
            awaiting = true;
            silence = 0;
            std::this_thread::sleep_for(timing.pauseAfterSend);
        }
        return failure;
    };

    while (control_.running()) {
        control_.clearWake();
        if (control_.takeReconnect()) {
            const int found =
                channel_.reconnect([this](const std::string& text) { events_.countText(text); });
            if (found > 0)
                return found;
            if (found == 0)
                outbox.assign(1, kHello);
        }
        if (control_.takeReadOn())
            awaiting = true; // the silence count goes on from the last answer
        if (outbox.empty())
            outbox = control_.take();
        if (!outbox.empty()) {
            if (const int failure = send(outbox))
                return failure;
            outbox.clear();
        }

        if (awaiting && silence <= timing.silenceLimit) {
            PollResult polled = channel_.poll(timing.pollWait, control_.wakeFd());
            if (polled.failure != 0)
                return polled.failure;
            if (!polled.bytes.empty()) {
                silence = 0;
                if (timing.oneAnswerPerMessage)
                    awaiting = false;
                events_.received(upToZero(std::move(polled.bytes)));
            } else if (!polled.woken) {
                ++silence; // the poll's own wait was the pause
            }
        } else if (!awaiting) {
            waitForWake(); // nothing to listen for until the routine posts a message
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
