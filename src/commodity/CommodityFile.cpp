#include "CommodityFile.h"

namespace korvan {

Loaded<std::vector<CommodityRecord>> CommodityFile::load(const std::filesystem::path& file) {
    return RecordFile::readRecords(file, CommodityRecord::fromLine);
}

IoResult CommodityFile::save(const std::filesystem::path& file,
                             const std::vector<CommodityRecord>& records) {
    std::vector<std::string> lines;
    lines.reserve(records.size());
    for (const CommodityRecord& r : records)
        lines.push_back(r.toLine());
    return RecordFile::writeLines(file, lines);
}

} // namespace korvan
