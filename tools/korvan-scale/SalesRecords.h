#pragma once
// The sales records the simulated scale serves in a read records job: five text fields each
// (transaction time, commodity name, weight or quantity, unit price, total), code page 936 bytes.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/RecordFile.h"

namespace korvan::sim {

using SalesRecord = std::array<std::string, 5>;

namespace SalesRecords {

// Reads a file in the sales record file layout: one record per line, fields separated by 0x0C,
// the last field running to the end of the line. Empty lines are skipped (they hold no sale).
Loaded<std::vector<SalesRecord>> fromRecordFile(const std::filesystem::path& file);
// `count` plausible records: times rising from 2026-03-01 08:00:00, Chinese and English names,
// weighed and counted articles, totals that match weight times price. The same seed always
// gives the same records.
std::vector<SalesRecord> generate(std::size_t count, std::uint32_t seed = 1);
// The line as the scale sends it: fields joined by 0x0C, ended by CR LF.
std::string wireLine(const SalesRecord& record);

} // namespace SalesRecords
} // namespace korvan::sim
