#pragma once
// The jobs the scale knows, keyed by the command byte that follows the hello. The simulator keeps
// its own table: it plays the scale's side and does not depend on the PC's link code.
#include <optional>
#include <string>

namespace korvan::sim {

enum class ScaleJob {
    CommodityShort, // 0x03, name and price only
    CommodityFull,  // 0x13, every commodity field
    Label,          // 0x06
    Description,    // 0x15
    StoreName,      // 0x02
    ShopPhone,      // 0x04
    StoreAddress,   // 0x05
    DateTime,       // 0x01
    ReadRecords,    // 0x08
    ClearRecords,   // 0x18
    ProgramUpdate,  // 0x28
};

namespace ScaleJobs {

std::optional<ScaleJob> fromCommand(unsigned char command);
unsigned char command(ScaleJob job);
// Short name for reports: "commodity-download", "read-records", ...
const char* name(ScaleJob job);
// Name as the job reports show it: downloads carry their command byte,
// "commodity-download (0x13)"; the other jobs their name alone.
std::string label(ScaleJob job);
// Jobs whose records the PC sends and the scale acknowledges one by one.
bool isDownload(ScaleJob job);
// Download jobs that carry exactly one record (store texts, date and time).
bool isSingleRecord(ScaleJob job);

} // namespace ScaleJobs
} // namespace korvan::sim
