// Sales record lines as the scale sends them, in chunks of any size: every complete line is
// taken as one record, and a line splits into five trimmed fields.
#include "link/JobRoutine.h"
#include "link/Protocol.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace korvan;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void checkFields(std::string_view line) {
    const SalesRecord record = JobRoutine::parseSalesRecord(line);
    std::size_t total = 0;
    for (const std::string& field : record.fields) {
        require(field.empty() || (!isSpace(field.front()) && !isSpace(field.back())), "trimmed");
        total += field.size();
    }
    require(total <= line.size(), "fields come from the line");
}

} // namespace

// Input: byte 0 seeds the chunk sizes; the rest is the byte stream of the read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    checkFields(stream);

    std::vector<SalesRecord> records;
    JobRoutine routine(
        {ReadRecordsPayload{0,
                            [&records](const SalesRecord& record) { records.push_back(record); }}},
        Lang::English);
    routine.onAnswer(std::string(1, protocol::kHello));
    require(routine.onAnswer(std::string(1, protocol::kAck)) == std::string(1, protocol::kAck),
            "first request");

    // Chunks of 2 to 100 bytes (a one-byte chunk can be an answer of its own, not line data).
    unsigned seed = data[0];
    std::size_t at = 0;
    while (at < stream.size() && !routine.finished()) {
        seed = seed * 1103515245u + 12345u;
        std::size_t length = 2 + (seed >> 16) % 99;
        const std::size_t left = stream.size() - at;
        if (length >= left || left - length == 1)
            length = left;
        if (length < 2)
            break;
        routine.onAnswer(stream.substr(at, length));
        at += length;
    }

    // A line longer than the limit ends the read with a data error; otherwise every complete
    // line up to the step total is a record, and the end byte counts them.
    std::size_t longestRun = 0;
    std::size_t run = 0;
    for (char c : stream.substr(0, at)) {
        run = c == '\n' ? 0 : run + 1;
        longestRun = std::max(longestRun, run);
    }
    if (longestRun > JobRoutine::kMaxRecordLine || at < stream.size())
        return 0;
    const auto lines = static_cast<std::size_t>(std::count(stream.begin(), stream.end(), '\n'));
    require(!routine.finished(), "no error without an over-long line");
    require(records.size() == std::min<std::size_t>(lines, JobKinds::kReadRecordsSteps - 1),
            "every complete line is a record");
    for (std::size_t i = 0; i < records.size(); ++i)
        require(records[i].row == static_cast<long>(i), "rows in order");
    routine.onAnswer(std::string(1, protocol::kEnd));
    require(routine.result() == std::to_string(records.size()) + "Data download completed",
            "the count is the records taken");
    return 0;
}
