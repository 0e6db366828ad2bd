#include "DescriptionFile.h"

namespace korvan {

std::vector<DescriptionEntry> DescriptionFile::load(const std::filesystem::path& file,
                                                    IoResult* result) {
    const std::vector<std::string> lines = RecordFile::readLines(file, result);
    std::vector<DescriptionEntry> entries;
    entries.reserve(lines.size());
    for (const std::string& line : lines)
        entries.push_back(DescriptionEntry::fromLine(line));
    return entries;
}

IoResult DescriptionFile::save(const std::filesystem::path& file,
                               const std::vector<DescriptionEntry>& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const DescriptionEntry& e : entries)
        lines.push_back(e.toLine());
    return RecordFile::writeLines(file, lines);
}

std::vector<std::vector<std::string>>
DescriptionFile::downloadRows(const std::vector<DescriptionEntry>& entries) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(entries.size());
    for (const DescriptionEntry& e : entries)
        rows.push_back({e.number, e.text});
    return rows;
}

} // namespace korvan
