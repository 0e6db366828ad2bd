#pragma once
// The ten transfer jobs: what each sends first, how many acknowledged steps it takes, and the
// title of the transfer progress.
#include <array>
#include <cstdint>
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

inline constexpr std::array<JobKind, 10> kOrder = {
    JobKind::CommodityDownload, JobKind::LabelDownload,     JobKind::DescriptionDownload,
    JobKind::StoreNameDownload, JobKind::ShopPhoneDownload, JobKind::StoreAddressDownload,
    JobKind::DateTimeDownload,  JobKind::ReadRecords,       JobKind::ClearRecords,
    JobKind::ProgramUpdate,
};

// Sizes of a program image block and of the read-records job.
inline constexpr int kUpdateBlockSize = 64;
inline constexpr int kReadRecordsSteps = 2000;
inline constexpr int kClearRecordsSteps = 10;

// The byte sent once the scale has answered the hello byte.
std::uint8_t commandByte(JobKind kind, ModelFamily family = ModelFamily::Vamo);

// Whether the job sends one built record per acknowledged step.
bool isDownload(JobKind kind);

// The step total: `rowCount` is the number of list rows for list downloads; for a program update
// it is the image size in bytes (a last partial block counts as one).
std::int64_t stepTotal(JobKind kind, std::int64_t rowCount);

// A short English name for logs and the command line ("commodity download").
const char* name(JobKind kind);

// Title of the transfer progress: the program update title for that job, otherwise the title of
// the link, or the plain download title when no link is set.
Tr title(JobKind kind, LinkMode mode);

} // namespace JobKinds
} // namespace korvan
