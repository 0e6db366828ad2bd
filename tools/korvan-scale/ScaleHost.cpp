#include "ScaleHost.h"

namespace korvan {

ScaleHost::ScaleHost(ScaleStore& store, RawLog& log, EventLoop& loop, SessionOptions options)
    : store_(store), log_(log), loop_(loop), options_(options) {}

void ScaleHost::received(std::string_view peer, std::string_view channel, std::string_view bytes) {
    log_.record(RawLog::Direction::Received, peer, channel, bytes);
}

void ScaleHost::note(const std::string& text) {
    if (onNote && !text.empty())
        onNote(text);
}

void ScaleHost::deliver(Answer answer, std::string peer, std::string channel, SendChunk send) {
    note(answer.note);
    if (answer.silent() || answer.delay.count() <= 0) {
        sendNow(answer, peer, channel, send);
        return;
    }
    const auto delay = answer.delay;
    loop_.after(delay, [this, answer = std::move(answer), peer = std::move(peer),
                        channel = std::move(channel),
                        send = std::move(send)] { sendNow(answer, peer, channel, send); });
}

void ScaleHost::sendNow(const Answer& answer, const std::string& peer, const std::string& channel,
                        const SendChunk& send) {
    for (const auto& chunk : answer.chunks) {
        log_.record(RawLog::Direction::Sent, peer, channel, chunk);
        if (!send(chunk))
            note("could not send to " + peer);
    }
    if (onJob)
        for (const auto& line : answer.jobReports)
            onJob(line);
}

} // namespace korvan
