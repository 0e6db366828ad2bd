#include "CommodityFile.h"

namespace korvan {

Loaded<std::vector<CommodityRecord>> CommodityFile::load(const std::filesystem::path& file) {
    const auto lines = RecordFile::readLines(file);
    Loaded<std::vector<CommodityRecord>> loaded{{}, lines.result};
    loaded.value.reserve(lines.value.size());
    for (const std::string& line : lines.value)
        loaded.value.push_back(CommodityRecord::fromLine(line));
    return loaded;
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
