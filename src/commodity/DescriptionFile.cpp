#include "DescriptionFile.h"

namespace korvan {

Loaded<std::vector<DescriptionEntry>> DescriptionFile::load(const std::filesystem::path& file) {
    const auto lines = RecordFile::readLines(file);
    Loaded<std::vector<DescriptionEntry>> loaded{{}, lines.result};
    loaded.value.reserve(lines.value.size());
    for (const std::string& line : lines.value)
        loaded.value.push_back(DescriptionEntry::fromLine(line));
    return loaded;
}

IoResult DescriptionFile::save(const std::filesystem::path& file,
                               const std::vector<DescriptionEntry>& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const DescriptionEntry& e : entries)
        lines.push_back(e.toLine());
    return RecordFile::writeLines(file, lines);
}

} // namespace korvan
