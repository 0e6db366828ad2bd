#pragma once
// What every link of the simulated scale shares: the store, the raw log, the session options,
// the event loop, and where job reports and diagnostics go. A link (UDP now; a serial
// pseudo-terminal or a virtual HID device later) frames the PC's messages, hands them to a
// ScaleSession and gives its answers back to deliver().
#include <functional>
#include <string>
#include <string_view>

#include "EventLoop.h"
#include "RawLog.h"
#include "ScaleSession.h"
#include "ScaleStore.h"

namespace korvan {

class ScaleHost {
public:
    ScaleHost(ScaleStore& store, RawLog& log, EventLoop& loop, SessionOptions options);

    ScaleStore& store() { return store_; }
    RawLog& log() { return log_; }
    EventLoop& loop() { return loop_; }
    const SessionOptions& options() const { return options_; }

    // Receives each "job ..." line once its last answer has gone out.
    std::function<void(const std::string&)> onJob;
    // Receives diagnostics.
    std::function<void(const std::string&)> onNote;

    // Logs a message received from `peer` on `channel`.
    void received(std::string_view peer, std::string_view channel, std::string_view bytes);
    // Sends the answer after its pause, one `send` call per chunk (each logged), then reports
    // the jobs that ended. A silent answer reports at once.
    using SendChunk = std::function<bool(std::string_view chunk)>;
    void deliver(Answer answer, std::string peer, std::string channel, SendChunk send);
    void note(const std::string& text);

private:
    void sendNow(const Answer& answer, const std::string& peer, const std::string& channel,
                 const SendChunk& send);

    ScaleStore& store_;
    RawLog& log_;
    EventLoop& loop_;
    SessionOptions options_;
};

} // namespace korvan
