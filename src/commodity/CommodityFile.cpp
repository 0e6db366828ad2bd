#include "CommodityFile.h"

namespace korvan {

Loaded<std::vector<CommodityRecord>> CommodityFile::load(const std::filesystem::path& file) {
    return RecordFile::readRecords(file, CommodityRecord::fromLine);
}

Loaded<std::vector<CommodityRecord>> CommodityFile::load(TrackedFile& file) {
    return file.readRecords(CommodityRecord::fromLine);
}

std::vector<std::string> CommodityFile::lines(const std::vector<CommodityRecord>& records) {
    std::vector<std::string> lines;
    lines.reserve(records.size());
    for (const CommodityRecord& r : records)
        lines.push_back(r.toLine());
    return lines;
}

IoResult CommodityFile::save(const std::filesystem::path& file,
                             const std::vector<CommodityRecord>& records) {
    return RecordFile::writeLines(file, lines(records));
}

} // namespace korvan
