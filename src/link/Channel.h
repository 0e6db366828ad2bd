#pragma once
// One link to the scale (UDP, serial port, USB), as the link loop uses it. A channel belongs to
// the link worker thread alone.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "common/Language.h"

namespace korvan {

// How a channel's link loop waits: the pause after each send, how long one poll waits for
// bytes, how many empty polls in a row are silence, and the code that reports it; and the
// longest message the link carries in one piece.
struct ChannelTiming {
    std::chrono::milliseconds pauseAfterSend{0};
    std::chrono::milliseconds pollWait{0};
    int silenceLimit = 0; // more empty polls than this in a row is silence
    int noAnswerCode = 0;
    bool oneAnswerPerMessage = false; // USB reads one report per message sent
    std::size_t maxMessage = 0;       // bytes; 0: no limit

    // 5 ms, 5 ms, 1600, 225; one UDP datagram (65507 bytes).
    static ChannelTiming network();
    // 200 ms, 100 ms, 160, 253; no limit: a byte stream carries a message of any length.
    static ChannelTiming serial();
    // none, 5000 ms, 0, 214; no limit: a long message goes in several reports.
    static ChannelTiming usb();
};

struct PollResult {
    std::string bytes;  // what arrived; empty when nothing did
    int failure = 0;    // a link code that ends the job (a failed USB read)
    bool woken = false; // the wait was cut short by the wake-up descriptor: not an empty poll
};

class Channel {
public:
    static constexpr int kNoReconnect = -1;

    virtual ~Channel() = default;

    // 0, or the link code of the failure.
    [[nodiscard]] virtual int open() = 0;
    // Sends one message: 0, or the link code of a failure that ends the job.
    [[nodiscard]] virtual int send(std::string_view bytes) = 0;
    // Waits up to `wait` for bytes; returns early with `woken` set when `wakeFd` (an eventfd,
    // or -1) becomes readable.
    virtual PollResult poll(std::chrono::nanoseconds wait, int wakeFd) = 0;
    virtual void close() = 0;
    virtual const ChannelTiming& timing() const = 0;

    // Whether the link can carry this message so the scale reads it as one (beyond its length,
    // which timing().maxMessage limits). Download records are checked before a job starts.
    virtual bool carries(std::string_view message) const {
        (void)message;
        return true;
    }

    // The text of the last failure of open() or send() when the code's own text would not
    // say what happened (a port held by another program); "" otherwise.
    virtual std::string failureText(Lang lang) const {
        (void)lang;
        return {};
    }

    // Waits until a time unless the job is stopped first; false when it was stopped.
    using PauseUntil = std::function<bool(std::chrono::steady_clock::time_point)>;

    // Finds the device again after the scale restarted its side of the link (USB). Returns 0
    // when found, a link code when not, or kNoReconnect for a link that has no such step.
    // `showCount` updates the count label while it searches; the waits between searches go
    // through `pauseUntil`, and a stop ends the search at once (its result then counts for
    // nothing).
    [[nodiscard]] virtual int reconnect(const std::function<void(const std::string&)>& showCount,
                                        const PauseUntil& pauseUntil) {
        (void)showCount;
        (void)pauseUntil;
        return kNoReconnect;
    }
};

} // namespace korvan
