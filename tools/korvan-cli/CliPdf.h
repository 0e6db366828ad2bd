#pragma once
// The printed pages of sales records written into a PDF file (A4, 600 dpi), as the record screen
// prints them on a printer.
#include <filesystem>
#include <string>

#include "common/Language.h"
#include "records/SalesRows.h"

namespace korvan::cli {

class CliPdf {
public:
    struct Result {
        bool ok = false;
        std::size_t pages = 0;
        std::string detail; // on failure, what went wrong
    };
    // Replaces the file only once every page is written.
    static Result write(const std::filesystem::path& file, const SalesRows& rows, Lang lang);
};

} // namespace korvan::cli
