#pragma once
// The printed pages of sales records written into a PDF file (A4, 600 dpi), as the record screen
// prints them on a printer. No Qt in this header: the command line uses it.
#include <filesystem>
#include <string>

#include "common/Language.h"
#include "common/RecordFile.h"
#include "records/SalesRows.h"

namespace korvan {

class SalesPdf {
public:
    // The number of pages written, or what went wrong (in its detail). Replaces the file only once
    // every page is written.
    static Loaded<std::size_t> write(const std::filesystem::path& file, const SalesRows& rows,
                                     Lang lang);
};

} // namespace korvan
