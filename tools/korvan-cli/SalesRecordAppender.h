#pragma once
// Appends sales records to record/dzcjl.rec: one record per line, five fields joined by form
// feeds, CR LF; the whole file is rewritten atomically.
#include <filesystem>
#include <vector>

#include "common/RecordFile.h"
#include "link/SalesRecord.h"

namespace korvan::cli {

class SalesRecordAppender {
public:
    // Records after the lines already in the file. A file whose last line lacks its line end
    // gets one first, so no two records share a line. No records leave the file untouched.
    static IoResult append(const std::filesystem::path& file,
                           const std::vector<SalesRecord>& records);
};

} // namespace korvan::cli
