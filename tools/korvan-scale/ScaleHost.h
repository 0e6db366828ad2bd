#pragma once
// What every link of the simulated scale shares: the store, the raw log, the session options,
// the event loop, and where job reports and diagnostics go. A link (UDP now; a serial
// pseudo-terminal or a virtual HID device later) frames the PC's messages, hands them to a
// ScaleSession and gives its answers back to deliver().
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "EventLoop.h"
#include "RawLog.h"
#include "ScaleSession.h"
#include "ScaleStore.h"

namespace korvan::sim {

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
    // the jobs that ended. A silent answer reports at once. `chunkGap` spaces the chunks for
    // links that would otherwise run them together (a serial line has no datagram borders).
    using SendChunk = std::function<bool(std::string_view chunk)>;
    void deliver(Answer answer, std::string peer, std::string channel, SendChunk send,
                 std::chrono::milliseconds chunkGap = {});
    void note(const std::string& text);

private:
    struct Delivery {
        Answer answer;
        std::string peer, channel;
        SendChunk send;
        std::chrono::milliseconds chunkGap;
        std::size_t next; // the chunk to send next
    };
    void sendFrom(const std::shared_ptr<Delivery>& delivery);

    ScaleStore& store_;
    RawLog& log_;
    EventLoop& loop_;
    SessionOptions options_;
};

} // namespace korvan::sim
