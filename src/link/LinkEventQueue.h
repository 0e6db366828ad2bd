#pragma once
// The events the link worker hands to the consumer of a transfer, in the order they happened.
// Each received chunk travels in its own event, so none is overwritten before it is read.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

namespace korvan {

struct LinkEvent {
    enum class Type {
        Chunk,     // bytes from the scale
        Status,    // a link status code above 200 other than the end
        CountText, // a text for the count label (device search)
        Ended,     // the worker has ended normally (code 244)
    };
    Type type = Type::Chunk;
    std::string bytes;
    int code = 0;
    std::string message; // Status: a text that says more than the code's own ("" for none)

    static LinkEvent chunk(std::string bytes) { return {Type::Chunk, std::move(bytes), 0, {}}; }
    static LinkEvent status(int code, std::string message = {}) {
        return {Type::Status, {}, code, std::move(message)};
    }
    static LinkEvent countText(std::string text) {
        return {Type::CountText, std::move(text), 0, {}};
    }
    static LinkEvent ended() { return {Type::Ended, {}, 0, {}}; }
};

class LinkEventQueue {
public:
    void push(LinkEvent event);
    // Everything queued so far (possibly nothing), without waiting.
    std::deque<LinkEvent> takeAll();
    // Waits until something is queued, then takes everything.
    std::deque<LinkEvent> waitAndTakeAll();
    std::size_t size() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<LinkEvent> events_;
};

} // namespace korvan
