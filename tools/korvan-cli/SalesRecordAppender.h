#pragma once
// The command line's name for appending read sales records; the file format lives in the core.
#include "records/SalesRecordFile.h"

namespace korvan::cli {

struct SalesRecordAppender {
    static IoResult append(const std::filesystem::path& file,
                           const std::vector<SalesRecord>& records) {
        return SalesRecordFile::append(file, records);
    }
};

} // namespace korvan::cli
