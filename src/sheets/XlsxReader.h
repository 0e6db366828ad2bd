#pragma once
// Reads the first worksheet of an Excel workbook (.xlsx): every row with a non-empty cell, each
// cell as the text a spreadsheet shows for it (shared and inline strings as written, numbers in
// the General format, booleans as TRUE/FALSE). Formats, formulas and other sheets are ignored.
#include <filesystem>
#include <string_view>

#include "sheets/SheetRead.h"

namespace korvan::XlsxReader {

// Reads the file and parses it; a file that cannot be read gives Problem::File.
SheetRead read(const std::filesystem::path& file);
// Parses a workbook's bytes. Never throws on damaged input: anything that is not a readable
// workbook gives Problem::NotSheet, and a workbook past the limits Problem::TooLarge.
SheetRead parse(std::string_view bytes);

} // namespace korvan::XlsxReader
