#pragma once
// Reads a CSV file as a spreadsheet program writes it: UTF-8 (with or without a byte-order mark)
// or GBK, separated by commas, semicolons or tabs (whichever the header line uses), quoted as
// RFC 4180 says. Field text is kept exactly, blanks included.
#include <filesystem>
#include <string_view>

#include "sheets/SheetRead.h"

namespace korvan::CsvReader {

// The file's rows. A missing file is a File problem: the operator named a file to read.
SheetRead read(const std::filesystem::path& file);
// The rows of CSV bytes. Blank lines and rows whose cells are all empty or blank are left out;
// each row keeps the 1-based line it starts on.
SheetRead parse(std::string_view bytes);

} // namespace korvan::CsvReader
