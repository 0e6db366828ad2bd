#pragma once
// The bar code scale settings file record/tmccs.rec: line 1 the department number, lines 2 to 4
// the texts of the chosen label size, bar code type and bar code format items. Only read: nothing
// in the system writes it.
#include <filesystem>

#include "BarcodeScaleSettings.h"
#include "common/RecordFile.h"

namespace korvan {

class BarcodeScaleFile {
public:
    // A missing line leaves its setting empty and lines after the fourth are ignored; a missing
    // file gives empty settings. A file that cannot be read gives empty settings and a failed
    // result.
    static Loaded<BarcodeScaleSettings> load(const std::filesystem::path& file);
};

} // namespace korvan
