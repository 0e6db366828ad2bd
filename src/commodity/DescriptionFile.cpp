#include "DescriptionFile.h"

namespace korvan {

Loaded<std::vector<DescriptionEntry>> DescriptionFile::load(const std::filesystem::path& file) {
    return RecordFile::readRecords(file, DescriptionEntry::fromLine);
}

Loaded<std::vector<DescriptionEntry>> DescriptionFile::load(TrackedFile& file) {
    return file.readRecords(DescriptionEntry::fromLine);
}

std::vector<std::string> DescriptionFile::lines(const std::vector<DescriptionEntry>& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const DescriptionEntry& e : entries)
        lines.push_back(e.toLine());
    return lines;
}

IoResult DescriptionFile::save(const std::filesystem::path& file,
                               const std::vector<DescriptionEntry>& entries) {
    return RecordFile::writeLines(file, lines(entries));
}

} // namespace korvan
