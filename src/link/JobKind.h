#pragma once
// The ten transfer jobs, one row each: what the job sends first, how many acknowledged steps it
// takes, its names and the link it always goes over.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/Language.h"
#include "link/LinkMode.h"

namespace korvan {

// In the order the job routine tests them when it picks a command byte.
enum class JobKind : std::uint8_t {
    CommodityDownload,
    LabelDownload,
    DescriptionDownload,
    StoreNameDownload,
    ShopPhoneDownload,
    StoreAddressDownload,
    DateTimeDownload,
    ReadRecords,
    ClearRecords,
    ProgramUpdate,
};

// The scale's model family decides the commodity record format and its command byte.
enum class ModelFamily : std::uint8_t { OrinKesa, Vamo };

namespace JobKinds {

// Sizes of a program image block and of the read-records job.
inline constexpr int kUpdateBlockSize = 64;
inline constexpr int kReadRecordsSteps = 2000;
inline constexpr int kClearRecordsSteps = 10;

// How a job's step total follows from what it sends.
enum class Steps : std::uint8_t {
    ListRows,   // one per list row
    HeaderRows, // the header record, then one per list row
    Fixed,      // `fixedSteps`, whatever is sent
    Blocks,     // one per image block, a last partial block counting as one
};

struct Row {
    JobKind kind;
    std::uint8_t command;         // the byte sent once the scale has answered the hello byte
    std::uint8_t orinKesaCommand; // the same for the Orin Kesa model family
    Steps steps;
    std::int64_t fixedSteps;
    bool download;    // sends one built record per acknowledged step
    const char* name; // a short English name for logs and the command line
    Tr title;         // progress title; empty: the title of the link the job runs on
    std::optional<LinkMode> forcedLink;
};

inline constexpr Tr kNoTitle{"", ""};
inline constexpr Tr kUpdateTitle{"电子秤程序升级中..", "Program updates"};

inline constexpr std::array<Row, 10> kTable = {{
    {JobKind::CommodityDownload, 0x13, 0x03, Steps::ListRows, 0, true, "commodity download",
     kNoTitle, std::nullopt},
    {JobKind::LabelDownload, 0x06, 0x06, Steps::HeaderRows, 0, true, "label download", kNoTitle,
     std::nullopt},
    {JobKind::DescriptionDownload, 0x15, 0x15, Steps::ListRows, 0, true, "description download",
     kNoTitle, std::nullopt},
    {JobKind::StoreNameDownload, 0x02, 0x02, Steps::Fixed, 1, true, "store name download", kNoTitle,
     std::nullopt},
    {JobKind::ShopPhoneDownload, 0x04, 0x04, Steps::Fixed, 1, true, "shop phone download", kNoTitle,
     std::nullopt},
    {JobKind::StoreAddressDownload, 0x05, 0x05, Steps::Fixed, 1, true, "store address download",
     kNoTitle, std::nullopt},
    {JobKind::DateTimeDownload, 0x01, 0x01, Steps::Fixed, 1, true, "date and time download",
     kNoTitle, std::nullopt},
    {JobKind::ReadRecords, 0x08, 0x08, Steps::Fixed, kReadRecordsSteps, false, "read records",
     kNoTitle, std::nullopt},
    {JobKind::ClearRecords, 0x18, 0x18, Steps::Fixed, kClearRecordsSteps, false, "clear records",
     kNoTitle, std::nullopt},
    // The scale takes a new program over USB only, whatever the saved link.
    {JobKind::ProgramUpdate, 0x28, 0x28, Steps::Blocks, 0, false, "program update", kUpdateTitle,
     LinkMode::Usb},
}};

constexpr const Row& row(JobKind kind) {
    return kTable[static_cast<std::size_t>(kind)];
}

// The byte sent once the scale has answered the hello byte.
constexpr std::uint8_t commandByte(JobKind kind, ModelFamily family = ModelFamily::Vamo) {
    return family == ModelFamily::OrinKesa ? row(kind).orinKesaCommand : row(kind).command;
}

// Whether the job sends one built record per acknowledged step.
constexpr bool isDownload(JobKind kind) {
    return row(kind).download;
}

const char* name(JobKind kind);

// The step total: `count` is the number of list rows for list downloads; for a program update
// it is the image size in bytes.
std::int64_t stepTotal(JobKind kind, std::int64_t count);

// The link the job goes over: its forced link, else the one chosen.
LinkMode link(JobKind kind, LinkMode chosen);

// Title of the transfer progress: the job's own title, otherwise the title of the link, or the
// plain download title when no link is set.
Tr title(JobKind kind, LinkMode mode);

} // namespace JobKinds
} // namespace korvan
