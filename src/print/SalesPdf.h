#pragma once
// The printed pages of sales records written into a PDF file (A4, 600 dpi), as the record screen
// prints them on a printer. No Qt in this header: the command line uses it.
#include <filesystem>
#include <string>

#include "common/Language.h"
#include "records/SalesRows.h"

namespace korvan {

class SalesPdf {
public:
    struct Result {
        bool ok = false;
        std::size_t pages = 0;
        std::string detail; // on failure, what went wrong
    };
    // Replaces the file only once every page is written.
    static Result write(const std::filesystem::path& file, const SalesRows& rows, Lang lang);
};

} // namespace korvan
