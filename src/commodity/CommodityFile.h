#pragma once
// The commodity file record/sp.rec: one record per line, in list order, no header.
#include <filesystem>
#include <string>
#include <vector>

#include "common/DataDir.h"
#include "CommodityRecord.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"

namespace korvan {

class CommodityFile {
public:
    // The file of the commodity list in a data folder.
    static std::filesystem::path file(const DataDir& dir) { return dir.record("sp.rec"); }
    // Every line gives a record, an empty line too; there is no limit on the count. A missing file
    // reads as empty; a file that cannot be read gives no records and a failed result.
    static Loaded<std::vector<CommodityRecord>> load(const std::filesystem::path& file);
    // The same, remembering what was read so a later save can tell another program's write.
    static Loaded<std::vector<CommodityRecord>> load(TrackedFile& file);
    // The file's lines for the records.
    static std::vector<std::string> lines(const std::vector<CommodityRecord>& records);
    // Writes every record, CR LF after each, atomically; no records give a file of length zero.
    static IoResult save(const std::filesystem::path& file,
                         const std::vector<CommodityRecord>& records);
};

} // namespace korvan
