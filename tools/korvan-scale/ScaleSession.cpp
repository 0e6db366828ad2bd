#include "ScaleSession.h"

#include <algorithm>
#include <cstdio>

#include "ReadableText.h"
#include "Wire.h"

namespace korvan::sim {
namespace {

using namespace wire;

bool isByte(std::string_view message, char byte) {
    return message.size() == 1 && message[0] == byte;
}

// The update end marker, alone or padded with zeros (a USB report carries it in 64 bytes).
bool isUpdateEnd(std::string_view message) {
    if (message.substr(0, kUpdateEnd.size()) != kUpdateEnd)
        return false;
    return std::all_of(message.begin() + kUpdateEnd.size(), message.end(),
                       [](char c) { return c == '\0'; });
}

std::string shortHex(std::string_view bytes) {
    constexpr std::size_t kShown = 24;
    std::string text = ReadableText::hex(bytes.substr(0, kShown));
    if (bytes.size() > kShown)
        text += " ... (" + std::to_string(bytes.size()) + " bytes)";
    return text.empty() ? "(empty)" : text;
}

std::vector<std::string> splitInto(const std::string& line, int pieces) {
    const std::size_t count = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(pieces, 1)),
                                                      1, std::max<std::size_t>(line.size(), 1));
    std::vector<std::string> chunks;
    const std::size_t base = line.size() / count;
    const std::size_t extra = line.size() % count;
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t length = base + (i < extra ? 1 : 0);
        chunks.push_back(line.substr(at, length));
        at += length;
    }
    return chunks;
}

std::string plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::string ScaleSession::ack() const {
    return std::string(1, options_.ackParen ? kAckParen : kAck);
}

ScaleSession::ScaleSession(ScaleStore& store, SessionOptions options)
    : store_(store), options_(options) {}

Answer ScaleSession::receive(std::string_view message) {
    // A lone hello always starts a job: no record, block or request is a single 0xAA.
    if (isByte(message, kHello))
        return startJob();
    if (phase_ == Phase::Idle)
        return outsideJob(message);
    if (phase_ == Phase::Silent)
        return {};
    ++messageCount_;
    if (auto fault = injectedFault())
        return *fault;
    switch (phase_) {
    case Phase::AwaitCommand:
        return onCommand(message);
    case Phase::Download:
        return onRecord(message);
    case Phase::ReadRecords:
        return onSalesRequest(message);
    case Phase::ClearRecords:
        return onClear(message);
    case Phase::UpdateBlocks:
        return onBlock(message);
    case Phase::Idle:
    case Phase::Silent:
        break;
    }
    return {};
}

Answer ScaleSession::probe(std::string_view message) const {
    Answer answer;
    if (!isByte(message, kProbe)) {
        answer.note = "probe ignored: " + shortHex(message);
        return answer;
    }
    answer = reply(std::string(1, options_.busy ? kBusy : kProbe));
    answer.note = options_.busy ? "probe answered busy" : "probe answered";
    return answer;
}

Answer ScaleSession::startJob() {
    std::vector<std::string> ended;
    if (inJob())
        ended.push_back(report("abandoned after message " + std::to_string(messageCount_)));
    resetJob();
    phase_ = Phase::AwaitCommand;
    messageCount_ = 1;
    Answer answer;
    if (auto fault = injectedFault()) {
        answer = *fault;
    } else if (options_.busy) {
        answer = finish(kBusy, "busy");
    } else {
        answer = reply(std::string(1, kHello));
    }
    answer.jobReports.insert(answer.jobReports.begin(), ended.begin(), ended.end());
    return answer;
}

Answer ScaleSession::outsideJob(std::string_view message) const {
    if (options_.inlineProbe && isByte(message, kProbe))
        return probe(message);
    Answer answer;
    answer.note = "ignored outside a job: " + shortHex(message);
    return answer;
}

std::optional<Answer> ScaleSession::injectedFault() {
    if (options_.silentAfter && messageCount_ > *options_.silentAfter) {
        Answer answer;
        answer.jobReports.push_back(
            report("silent after message " + std::to_string(*options_.silentAfter)));
        phase_ = Phase::Silent;
        return answer;
    }
    if (options_.dataErrorAt && messageCount_ == *options_.dataErrorAt)
        return dataError("injected");
    if (options_.endAt && messageCount_ == *options_.endAt)
        return finish(kEnd, "ended at message " + std::to_string(*options_.endAt) + " (injected)");
    return std::nullopt;
}

Answer ScaleSession::onCommand(std::string_view message) {
    // An empty list: the PC ends the job straight after the hello.
    if (isByte(message, kEnd))
        return finish(kEnd, "ended before a command");
    if (isUpdateEnd(message)) {
        job_ = ScaleJob::ProgramUpdate;
        return finish(kEnd, "no blocks, image kept");
    }
    if (message.size() != 1)
        return dataError("expected a command byte, got " + shortHex(message));
    const auto job = ScaleJobs::fromCommand(static_cast<unsigned char>(message[0]));
    if (!job) {
        char text[32];
        std::snprintf(text, sizeof text, "unknown command 0x%02X",
                      static_cast<unsigned char>(message[0]));
        return dataError(text);
    }
    job_ = *job;
    switch (*job) {
    case ScaleJob::ProgramUpdate:
        if (!restartedForUpdate_) {
            // The scale restarts its link for the update; the PC finds it again and starts over.
            restartedForUpdate_ = true;
            resetJob();
            phase_ = Phase::Idle;
            Answer answer = reply(std::string(1, kRestart));
            answer.note = "program update: link restarts, waiting for a new hello";
            return answer;
        }
        restartedForUpdate_ = false;
        phase_ = Phase::UpdateBlocks;
        break;
    case ScaleJob::ReadRecords:
        salesServed_ = store_.sales();
        nextSale_ = 0;
        phase_ = Phase::ReadRecords;
        break;
    case ScaleJob::ClearRecords:
        phase_ = Phase::ClearRecords;
        break;
    default:
        phase_ = Phase::Download;
        break;
    }
    return reply(ack());
}

Answer ScaleSession::onRecord(std::string_view message) {
    const ScaleJob job = *job_;
    if (isByte(message, kEnd))
        return commitDownload();
    if (records_ >= kMaxRecords)
        return dataError("more than " + std::to_string(kMaxRecords) + " records");
    if (ScaleJobs::isSingleRecord(job) && records_ == 1)
        return dataError("a second record in a one-record job");
    auto body = RecordDecoder::body(message);
    if (!body)
        return dataError(body.error);
    const std::string& bytes = *body.value;
    switch (job) {
    case ScaleJob::CommodityShort:
    case ScaleJob::CommodityFull: {
        auto record = RecordDecoder::commodity(bytes, job == ScaleJob::CommodityFull);
        if (!record)
            return dataError(record.error);
        commodities_.push_back(std::move(*record.value));
        break;
    }
    case ScaleJob::Label:
        if (records_ == 0) {
            auto header = RecordDecoder::labelHeader(bytes);
            if (!header)
                return dataError(header.error);
            labelHeader_ = std::move(*header.value);
        } else {
            auto element = RecordDecoder::labelElement(bytes, static_cast<int>(records_ - 1));
            if (!element)
                return dataError(element.error);
            labelElements_.push_back(std::move(*element.value));
        }
        break;
    case ScaleJob::DateTime: {
        auto setting = RecordDecoder::dateTime(bytes);
        if (!setting)
            return dataError(setting.error);
        dateTime_ = std::move(*setting.value);
        break;
    }
    default:
        // Descriptions and store texts: one field, taken whole (the PC does not escape a form
        // feed or a line break inside the text).
        texts_.push_back(bytes);
        break;
    }
    ++records_;
    return reply(ack());
}

Answer ScaleSession::commitDownload() {
    const ScaleJob job = *job_;
    if (ScaleJobs::isSingleRecord(job) && records_ == 0)
        return dataError("end byte before the record");
    if (job == ScaleJob::Label && records_ == 0)
        return dataError("end byte before the label header");
    IoResult saved;
    switch (job) {
    case ScaleJob::CommodityShort:
    case ScaleJob::CommodityFull:
        saved = store_.saveCommodities(commodities_, job == ScaleJob::CommodityFull);
        break;
    case ScaleJob::Label:
        saved = store_.saveLabel(labelHeader_, labelElements_);
        break;
    case ScaleJob::Description:
        saved = store_.saveDescriptions(texts_);
        break;
    case ScaleJob::DateTime:
        saved = store_.saveDateTime(*dateTime_);
        break;
    default:
        saved = store_.saveStoreText(job, texts_.front());
        break;
    }
    // A scale that could not keep the data must not report success.
    if (!saved)
        return dataError("cannot store: " + saved.message());
    return finish(kEnd, plural(records_, "record", "records"));
}

Answer ScaleSession::onSalesRequest(std::string_view message) {
    const std::size_t available = salesServed_ ? salesServed_->size() : 0;
    const std::string served = plural(nextSale_, "record", "records") + " served";
    if (isByte(message, kEnd))
        return finish(kEnd, served);
    if (!isByte(message, kAck))
        return dataError("expected a record request, got " + shortHex(message));
    if (nextSale_ >= available)
        return finish(kEnd, served);
    Answer answer;
    answer.chunks =
        splitInto(SalesRecords::wireLine((*salesServed_)[nextSale_]), options_.splitLines);
    answer.delay = options_.delay;
    ++nextSale_;
    return answer;
}

Answer ScaleSession::onClear(std::string_view message) {
    if (!isByte(message, kEnd))
        return dataError("expected the end byte, got " + shortHex(message));
    const std::size_t count = store_.sales()->size();
    if (auto cleared = store_.replaceSales({}); !cleared)
        return dataError("cannot clear the records: " + cleared.message());
    return finish(kEnd, plural(count, "record", "records") + " cleared");
}

Answer ScaleSession::onBlock(std::string_view message) {
    if (isUpdateEnd(message)) {
        if (auto saved = store_.saveImage(image_); !saved)
            return dataError("cannot store the image: " + saved.message());
        return finish(kEnd, plural(image_.size() / kBlockSize, "block", "blocks") + ", " +
                                plural(image_.size(), "byte", "bytes"));
    }
    if (message.size() != kBlockSize)
        return dataError("block of " + std::to_string(message.size()) + " bytes, expected 64");
    if (image_.size() + kBlockSize > kMaxImageBytes)
        return dataError("image larger than " + std::to_string(kMaxImageBytes) + " bytes");
    image_.append(message);
    return reply(ack());
}

Answer ScaleSession::reply(std::string bytes) const {
    Answer answer;
    answer.chunks.push_back(std::move(bytes));
    answer.delay = options_.delay;
    return answer;
}

Answer ScaleSession::finish(char answerByte, const std::string& outcome) {
    Answer answer = reply(std::string(1, answerByte));
    answer.jobReports.push_back(report(outcome));
    resetJob();
    phase_ = Phase::Idle;
    return answer;
}

Answer ScaleSession::dataError(const std::string& reason) {
    return finish(kDataError,
                  "data error at message " + std::to_string(messageCount_) + " (" + reason + ")");
}

std::string ScaleSession::report(const std::string& outcome) const {
    if (!job_)
        return "job " + outcome;
    return "job " + ScaleJobs::label(*job_) + ": " + outcome;
}

void ScaleSession::resetJob() {
    job_.reset();
    messageCount_ = 0;
    records_ = 0;
    commodities_.clear();
    texts_.clear();
    labelHeader_ = {};
    labelElements_.clear();
    dateTime_.reset();
    image_.clear();
    image_.shrink_to_fit();
    salesServed_.reset();
    nextSale_ = 0;
}

} // namespace korvan::sim
