#include "JobKind.h"

namespace korvan::JobKinds {
namespace {

constexpr bool rowsInKindOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<std::size_t>(kTable[i].kind) != i)
            return false;
    return true;
}
static_assert(rowsInKindOrder(), "row(kind) indexes the table by the kind's value");

} // namespace

const char* name(JobKind kind) {
    return row(kind).name;
}

std::int64_t stepTotal(JobKind kind, std::int64_t count) {
    const Row& job = row(kind);
    switch (job.steps) {
    case Steps::ListRows:
        return count;
    case Steps::HeaderRows:
        return count + 1;
    case Steps::Fixed:
        return job.fixedSteps;
    case Steps::Blocks:
        return (count + kUpdateBlockSize - 1) / kUpdateBlockSize;
    }
    return 0;
}

LinkMode link(JobKind kind, LinkMode chosen) {
    return row(kind).forcedLink.value_or(chosen);
}

Tr title(JobKind kind, LinkMode mode) {
    if (*row(kind).title.en != '\0')
        return row(kind).title;
    switch (mode) {
    case LinkMode::Serial:
        return {"串口数据传送进度..", "Serial port download progress"};
    case LinkMode::Network:
        return {"网口数据传送进度..", "Network download progress"};
    case LinkMode::Usb:
        return {"usb数据传送进度..", "USB download progress"};
    case LinkMode::None:
        break;
    }
    return {"数据传送进度..", "Download progress"};
}

} // namespace korvan::JobKinds
