#pragma once
// Writes a table as CSV that spreadsheet programs open as it is: UTF-8 with a byte-order mark (so
// Chinese text shows right), comma separated, RFC 4180 quoting, CR LF after every row.
#include <string>
#include <vector>

namespace korvan::CsvWriter {

// The file's bytes for rows of UTF-8 cells. A row whose cells are all empty or blank is written
// but reads back as no row at all.
std::string write(const std::vector<std::vector<std::string>>& rows);

} // namespace korvan::CsvWriter
