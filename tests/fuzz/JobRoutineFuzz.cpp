// Arbitrary answers from the scale, chunk by chunk, to the job routine of every job kind: no
// crash, no sanitizer report, and the routine's own bounds hold after every chunk.
#include "link/JobRoutine.h"
#include "link/Protocol.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace korvan;

namespace {

std::filesystem::path updateImage;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

JobRequest requestFor(JobKind kind, ModelFamily family, std::size_t rowCount,
                      std::size_t& records) {
    CommodityPayload commodities{{}, family};
    LabelPayload label{{"1", "40", "30"}, {}};
    DescriptionPayload descriptions;
    for (std::size_t i = 0; i < rowCount; ++i) {
        const std::string n = std::to_string(i + 1);
        descriptions.rows.push_back({n, "text " + n});
        LabelElementRow& row = label.elements.emplace_back();
        row.name = "Name";
        row.direction = row.downX = row.downY = "0";
        commodities.rows.push_back({"P" + n, n, "1.00", true, true, "0", "0", false, "0", "0"});
    }
    switch (kind) {
    case JobKind::CommodityDownload:
        return {commodities};
    case JobKind::LabelDownload:
        return {label};
    case JobKind::DescriptionDownload:
        return {descriptions};
    case JobKind::StoreNameDownload:
        return {StoreNamePayload{"Shop"}};
    case JobKind::ShopPhoneDownload:
        return {ShopPhonePayload{"Shop"}};
    case JobKind::StoreAddressDownload:
        return {StoreAddressPayload{"Shop"}};
    case JobKind::DateTimeDownload:
        return {DateTimePayload{"Shop"}};
    case JobKind::ReadRecords:
        return {ReadRecordsPayload{5, [&records](const SalesRecord&) { ++records; }}};
    case JobKind::ClearRecords:
        return {ClearRecordsPayload{}};
    case JobKind::ProgramUpdate:
        break;
    }
    return {UpdatePayload{updateImage}};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A program image of a few blocks, the last one partial.
    updateImage = std::filesystem::temp_directory_path() /
                  ("korvan-fuzz-image-" + std::to_string(::getpid()) + ".bin");
    if (std::FILE* file = std::fopen(updateImage.c_str(), "wb")) {
        for (int i = 0; i < 200; ++i)
            std::fputc(i, file);
        std::fclose(file);
    }
    std::atexit([] { std::filesystem::remove(updateImage); });
    return 0;
}

// Input: byte 0 picks the job kind and model family, byte 1 the row count; then chunks, each
// one length byte (0 to 255, cut to what is left) followed by that many bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const JobKind kind = JobKinds::kTable[data[0] % JobKinds::kTable.size()].kind;
    const ModelFamily family = (data[0] / 16) % 2 ? ModelFamily::OrinKesa : ModelFamily::Vamo;
    std::size_t records = 0;
    JobRoutine routine(requestFor(kind, family, data[1] % 8, records), Lang::English);
    if (routine.prepare() != 0)
        return 0;
    std::size_t at = 2;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        const std::string_view chunk(reinterpret_cast<const char*>(data) + at + 1, length);
        at += 1 + length;

        const bool wasFinished = routine.finished();
        const std::string next = routine.onAnswer(chunk);
        require(!wasFinished || next.empty(), "a finished job sends nothing");
        require(!wasFinished || routine.finished(), "a finished job stays finished");
        require(routine.accumulatedBytes() <= JobRoutine::kMaxRecordLine, "line limit");
        require(routine.stepCounter() <= routine.stepTotal(), "steps within the total");
        require(records < JobKinds::kReadRecordsSteps, "records stop below the step total");
        require(routine.completed() <= routine.finished(), "completed means finished");
    }
    if (kind == JobKind::ReadRecords && routine.completed())
        require(routine.result() == std::to_string(records) + "Data download completed",
                "the count is the records taken");
    return 0;
}
