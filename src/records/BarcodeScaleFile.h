#pragma once
// The bar code scale settings file record/tmccs.rec: line 1 the department number, lines 2 to 4
// the texts of the chosen label size, bar code type and bar code format items. Only read: nothing
// in the system writes it.
#include <filesystem>

#include "common/DataDir.h"
#include "BarcodeScaleSettings.h"
#include "common/RecordFile.h"

namespace korvan {

class BarcodeScaleFile {
public:
    // The file of the scale parameters in a data folder.
    static std::filesystem::path file(const DataDir& dir) { return dir.record("tmccs.rec"); }
    // A missing line leaves its setting empty and lines after the fourth are ignored; a missing
    // file gives empty settings. A file that cannot be read gives empty settings and a failed
    // result.
    static Loaded<BarcodeScaleSettings> load(const std::filesystem::path& file);
};

} // namespace korvan
