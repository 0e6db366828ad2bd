#pragma once
// The sales record file record/dzcjl.rec: one record per line, five fields joined by form feeds,
// CR LF after each line.
#include <filesystem>
#include <vector>

#include "common/RecordFile.h"
#include "link/SalesRecord.h"

namespace korvan {

class SalesRecordFile {
public:
    // Adds the records after the lines already in the file, rewriting the whole file atomically.
    // A file whose last line lacks its line end gets one first, so no two records share a line.
    // Each record is written as SalesRecords stores it, so a line break or form feed inside a
    // field cannot split its line. The lines already there keep their bytes. No records leave the
    // file untouched. A file that cannot be read is refused and left as it was: writing without
    // its lines would lose them.
    static IoResult append(const std::filesystem::path& file,
                           const std::vector<SalesRecord>& records);
};

} // namespace korvan
