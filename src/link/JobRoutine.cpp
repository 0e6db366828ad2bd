#include "JobRoutine.h"
#include "common/Text.h"

#include "common/RecordFile.h"
#include "link/LinkOutcome.h"
#include "link/Protocol.h"
#include "link/RecordBuilder.h"

#include <algorithm>
#include <utility>

namespace korvan {
namespace {

using protocol::kAck;
using protocol::kAckParen;
using protocol::kBusy;
using protocol::kDataError;
using protocol::kEnd;
using protocol::kHello;
using protocol::kReconnect;

} // namespace

JobRoutine::JobRoutine(JobRequest request, Lang lang)
    : request_(std::move(request)), lang_(lang), nextListRow_(firstListRow()) {
    if (!isJob(JobKind::ProgramUpdate))
        stepTotal_ =
            JobKinds::stepTotal(request_.kind(), static_cast<std::int64_t>(request_.rowCount()));
}

long JobRoutine::firstListRow() const {
    const auto* read = request_.get<ReadRecordsPayload>();
    return read ? read->recordRowCount : 0;
}

int JobRoutine::prepare() {
    if (!isJob(JobKind::ProgramUpdate))
        return 0;
    const int failure = image_.open(request_.get<UpdatePayload>()->file);
    if (failure != 0)
        return failure;
    if (image_.size() == 0) {
        // The scale would take the end marker as a complete program of no bytes.
        image_.close();
        return LinkCode::kUpdateFileEmpty;
    }
    stepTotal_ = image_.blockCount();
    return 0;
}

void JobRoutine::stop(std::string result) {
    // The records taken before a stop are kept whatever ended the job: say how many.
    finish(stopRequested_ ? stoppedText() : std::move(result));
}

bool JobRoutine::requestStop() {
    if (!isJob(JobKind::ReadRecords) || finished_)
        return false;
    stopRequested_ = true;
    return true;
}

std::string JobRoutine::stoppedText() const {
    return LinkOutcomes::stoppedAfter(lang_, recordsTaken());
}

void JobRoutine::finish(std::string result) {
    if (finished_)
        return;
    result_ = std::move(result);
    finished_ = true;
    image_.close();
}

bool JobRoutine::takeReconnectRequest() {
    return std::exchange(reconnectRequested_, false);
}

void JobRoutine::showCount(std::int64_t value) {
    countText_ = std::to_string(value);
}

void JobRoutine::step() {
    ++progress_;
    ++stepCounter_;
    showCount(isJob(JobKind::ProgramUpdate) ? static_cast<std::int64_t>(image_.bytesRead())
                                            : stepCounter_);
}

std::string JobRoutine::onAnswer(std::string_view chunk) {
    if (finished_)
        return {};
    if (isJob(JobKind::ReadRecords) && recordLines_)
        return onRecordChunk(chunk);
    return rules(chunk);
}

std::string JobRoutine::onRecordChunk(std::string_view chunk) {
    const bool single = chunk.size() == 1;
    if (single && chunk[0] == kEnd) {
        // The end byte ends the read even in the middle of a line, but lines already complete
        // are the scale's records: take them first.
        takeCompleteLines();
        return rules(chunk);
    }
    // A lone busy or error byte where a line should start is the scale refusing, not the start
    // of a line.
    if (single && accumulator_.empty() && (chunk[0] == kBusy || chunk[0] == kDataError))
        return rules(chunk);
    accumulator_.append(chunk);
    std::string next = takeCompleteLines();
    if (accumulator_.size() > kMaxRecordLine) {
        // What is left is one unfinished line: a line this long is a faulty scale.
        accumulator_.clear();
        finish(LinkOutcomes::dataError().get(lang_));
        return {};
    }
    return next;
}

std::string JobRoutine::takeCompleteLines() {
    std::size_t taken = 0; // bytes of the accumulator used up by the lines taken
    bool took = false;
    for (auto lineEnd = accumulator_.find('\n'); lineEnd != std::string::npos;
         lineEnd = accumulator_.find('\n', taken)) {
        if (stepCounter_ == stepTotal_) {
            // The step total stops the read: this line and any after it are not taken.
            accumulator_.clear();
            return std::string(1, kEnd);
        }
        SalesRecord record =
            parseSalesRecord(std::string_view(accumulator_).substr(taken, lineEnd - taken));
        taken = lineEnd + 1;
        record.row = nextListRow_++;
        if (const auto* read = request_.get<ReadRecordsPayload>(); read && read->sink)
            read->sink(record);
        ++progress_;
        showCount(stepCounter_);
        ++stepCounter_;
        took = true;
    }
    if (took && stopRequested_) {
        // The line asked for has come: end the read here instead of asking for the next one.
        accumulator_.clear();
        stopSent_ = true;
        return std::string(1, kEnd);
    }
    // Bytes after the last line end can only be the start of the next line.
    accumulator_.erase(0, taken);
    return took ? std::string(1, kAck) : std::string();
}

std::string JobRoutine::rules(std::string_view inbox) {
    // The scale's single-byte answers count only when the chunk is exactly that one byte.
    const bool single = inbox.size() == 1;
    const char byte = single ? inbox.front() : '\0';

    if (single && byte == kBusy) {
        finish(LinkOutcomes::busy().get(lang_));
        return {};
    }
    if (single && byte == kDataError) {
        finish(LinkOutcomes::dataError().get(lang_));
        return {};
    }
    if (single && byte == kEnd) {
        if (JobKinds::isDownload(request_.kind()) && !endSent_) {
            // Only an answer to the PC's own end byte completes a download: an earlier one
            // (the scale gave up, or a late answer of an earlier job) leaves records unsent.
            finish(LinkOutcomes::endedEarly(lang_, stepCounter_, stepTotal_));
            return {};
        }
        if (stopSent_) {
            // The scale confirmed the end the operator asked for: the read is not complete.
            finish(stoppedText());
            return {};
        }
        completed_ = true;
        if (isJob(JobKind::ClearRecords)) {
            finish(LinkOutcomes::recordsCleared().get(lang_));
            return {};
        }
        if (isJob(JobKind::ReadRecords))
            stepCounter_ = std::max<std::int64_t>(stepCounter_ - 1, 0); // the request step
        const std::string count = isJob(JobKind::ProgramUpdate) ? std::to_string(image_.bytesRead())
                                                                : std::to_string(stepCounter_);
        finish(count + LinkOutcomes::completed().get(lang_));
        return {};
    }
    if (stopRequested_ && stepCounter_ != stepTotal_) {
        // Stopped before any line was asked for: end the read as an empty one ends.
        stopSent_ = true;
        return std::string(1, kEnd);
    }
    if (stepCounter_ == stepTotal_) {
        if (isJob(JobKind::ProgramUpdate)) {
            blockMode_ = kBlockModeOff;
            return std::string(protocol::kUpdateEnd);
        }
        endSent_ = true;
        return std::string(1, kEnd);
    }
    if (single && byte == kHello) {
        if (blockMode_ == kBlockModeReconnect)
            blockMode_ = kBlockModeOff; // the device was found again
        return std::string(1, static_cast<char>(request_.commandByte()));
    }
    if (single && (byte == kAck || byte == kAckParen)) {
        std::string message = nextMessage();
        if (finished_)
            return {};
        step();
        return message;
    }
    if (single && byte == kReconnect) {
        blockMode_ = kBlockModeReconnect;
        reconnectRequested_ = true;
        return {};
    }
    finish(LinkOutcomes::dataError().get(lang_));
    return {};
}

std::string JobRoutine::nextMessage() {
    switch (request_.kind()) {
    case JobKind::ReadRecords:
        accumulator_.clear();
        recordLines_ = true;
        return std::string(1, kAck);
    case JobKind::ClearRecords:
        return std::string(1, kEnd);
    case JobKind::ProgramUpdate: {
        std::string block;
        switch (image_.readBlock(block)) {
        case UpdateImage::Block::Read:
            break;
        case UpdateImage::Block::Failed:
            finish(LinkOutcomes::message(LinkCode::kUpdateFileOpenFailed).get(lang_));
            return {};
        case UpdateImage::Block::Changed:
            finish(LinkOutcomes::updateFileChanged().get(lang_));
            return {};
        }
        blockMode_ = kBlockModeOn;
        return block;
    }
    default:
        return RecordBuilder::build(request_, stepCounter_);
    }
}

std::string
JobRoutine::checkMessageSizes(std::size_t maxMessage,
                              const std::function<bool(std::string_view)>& carries) const {
    if (!JobKinds::isDownload(request_.kind()))
        return {};
    for (std::int64_t step = 0; step < stepTotal_; ++step) {
        const std::string record = RecordBuilder::build(request_, step);
        const bool tooLong = maxMessage != 0 && record.size() > maxMessage;
        if (!tooLong && (!carries || carries(record)))
            continue;
        // The operator's row, counted from 1 (a label's header comes before its elements).
        const bool header = isJob(JobKind::LabelDownload) && step == 0;
        const std::int64_t row = isJob(JobKind::LabelDownload) ? step : step + 1;
        if (tooLong)
            return header ? LinkOutcomes::labelHeaderTooLong(lang_, record.size(), maxMessage)
                          : LinkOutcomes::recordTooLong(lang_, row, record.size(), maxMessage);
        return header ? LinkOutcomes::labelHeaderUnframable(lang_)
                      : LinkOutcomes::recordUnframable(lang_, row);
    }
    return {};
}

SalesRecord JobRoutine::parseSalesRecord(std::string_view line) {
    SalesRecord record;
    const std::vector<std::string> fields = RecordFile::splitFields(line, record.fields.size());
    for (std::size_t i = 0; i < record.fields.size(); ++i)
        record.fields[i] = std::string(Text::trimmed(fields[i]));
    return record;
}

} // namespace korvan
