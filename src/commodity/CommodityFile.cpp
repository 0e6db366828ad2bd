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

std::vector<std::vector<std::string>>
CommodityFile::downloadRows(const std::vector<CommodityRecord>& records) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(records.size());
    for (const CommodityRecord& r : records) {
        std::vector<std::string> cells;
        cells.reserve(CommodityRecord::kFieldCount);
        for (std::size_t i = 0; i < CommodityRecord::kFieldCount; ++i)
            cells.push_back(r.cell(static_cast<CommodityField>(i)));
        rows.push_back(std::move(cells));
    }
    return rows;
}

} // namespace korvan
