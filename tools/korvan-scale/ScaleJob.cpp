#include "ScaleJob.h"

#include <array>
#include <cstdio>

namespace korvan::sim::ScaleJobs {
namespace {

struct Entry {
    ScaleJob job;
    unsigned char command;
    const char* name;
};

constexpr std::array<Entry, 11> kJobs{{
    {ScaleJob::CommodityShort, 0x03, "commodity-download"},
    {ScaleJob::CommodityFull, 0x13, "commodity-download"},
    {ScaleJob::Label, 0x06, "label-download"},
    {ScaleJob::Description, 0x15, "description-download"},
    {ScaleJob::StoreName, 0x02, "store-name-download"},
    {ScaleJob::ShopPhone, 0x04, "shop-phone-download"},
    {ScaleJob::StoreAddress, 0x05, "store-address-download"},
    {ScaleJob::DateTime, 0x01, "date-time-download"},
    {ScaleJob::ReadRecords, 0x08, "read-records"},
    {ScaleJob::ClearRecords, 0x18, "clear-records"},
    {ScaleJob::ProgramUpdate, 0x28, "program-update"},
}};

const Entry& entry(ScaleJob job) {
    for (const auto& e : kJobs)
        if (e.job == job)
            return e;
    return kJobs.front(); // unreachable: every enumerator is in the table
}

} // namespace

std::optional<ScaleJob> fromCommand(unsigned char command) {
    for (const auto& e : kJobs)
        if (e.command == command)
            return e.job;
    return std::nullopt;
}

unsigned char command(ScaleJob job) {
    return entry(job).command;
}

const char* name(ScaleJob job) {
    return entry(job).name;
}

std::string label(ScaleJob job) {
    std::string text = name(job);
    if (isDownload(job)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, " (0x%02X)", command(job));
        text += hex;
    }
    return text;
}

bool isDownload(ScaleJob job) {
    return job != ScaleJob::ReadRecords && job != ScaleJob::ClearRecords &&
           job != ScaleJob::ProgramUpdate;
}

bool isSingleRecord(ScaleJob job) {
    return job == ScaleJob::StoreName || job == ScaleJob::ShopPhone ||
           job == ScaleJob::StoreAddress || job == ScaleJob::DateTime;
}

} // namespace korvan::sim::ScaleJobs
