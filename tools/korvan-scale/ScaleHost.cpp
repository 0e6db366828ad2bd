#include "ScaleHost.h"

namespace korvan::sim {

ScaleHost::ScaleHost(ScaleStore& store, RawLog& log, EventLoop& loop, SessionOptions options)
    : store_(store), log_(log), loop_(loop), options_(options) {}

void ScaleHost::received(std::string_view peer, std::string_view channel, std::string_view bytes) {
    log_.record(RawLog::Direction::Received, peer, channel, bytes);
}

void ScaleHost::note(const std::string& text) {
    if (onNote && !text.empty())
        onNote(text);
}

void ScaleHost::deliver(Answer answer, std::string peer, std::string channel, SendChunk send,
                        std::chrono::milliseconds chunkGap) {
    note(answer.note);
    auto delivery = std::make_shared<Delivery>(Delivery{
        std::move(answer), std::move(peer), std::move(channel), std::move(send), chunkGap, 0});
    if (delivery->answer.silent() || delivery->answer.delay.count() <= 0) {
        sendFrom(delivery);
        return;
    }
    loop_.after(delivery->answer.delay, [this, delivery] { sendFrom(delivery); });
}

void ScaleHost::sendFrom(const std::shared_ptr<Delivery>& d) {
    const auto& chunks = d->answer.chunks;
    while (d->next < chunks.size()) {
        const std::string& chunk = chunks[d->next++];
        log_.record(RawLog::Direction::Sent, d->peer, d->channel, chunk);
        if (!d->send(chunk))
            note("could not send to " + d->peer);
        if (d->next < chunks.size() && d->chunkGap.count() > 0) {
            loop_.after(d->chunkGap, [this, d] { sendFrom(d); });
            return;
        }
    }
    if (onJob)
        for (const auto& line : d->answer.jobReports)
            onJob(line);
}

} // namespace korvan::sim
