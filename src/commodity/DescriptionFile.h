#pragma once
// The description file record/spsm.rec: one entry per line, in list order, no header.
#include <filesystem>
#include <string>
#include <vector>

#include "common/DataDir.h"
#include "DescriptionEntry.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"

namespace korvan {

class DescriptionFile {
public:
    // The file of the commodity descriptions in a data folder.
    static std::filesystem::path file(const DataDir& dir) { return dir.record("spsm.rec"); }
    // Every line gives an entry. A missing file reads as empty; a file that cannot be read gives
    // no entries and a failed result.
    static Loaded<std::vector<DescriptionEntry>> load(const std::filesystem::path& file);
    // The same, remembering what was read so a later save can tell another program's write.
    static Loaded<std::vector<DescriptionEntry>> load(TrackedFile& file);
    // The file's lines for the entries.
    static std::vector<std::string> lines(const std::vector<DescriptionEntry>& entries);
    // Writes every entry, CR LF after each, atomically; no entries give a file of length zero.
    static IoResult save(const std::filesystem::path& file,
                         const std::vector<DescriptionEntry>& entries);
};

} // namespace korvan
