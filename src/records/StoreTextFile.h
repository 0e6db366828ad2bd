#pragma once
// The receipt text file record/xpwz.rec: line 1 the store name, line 2 the shop phone, line 3 the
// store address.
#include <filesystem>

#include "StoreText.h"
#include "common/RecordFile.h"

namespace korvan {

class StoreTextFile {
public:
    // A missing line leaves its text empty and lines after the third are ignored; a missing file
    // gives three empty texts. A file that cannot be read gives empty texts and a failed result.
    static Loaded<StoreText> load(const std::filesystem::path& file);
};

} // namespace korvan
