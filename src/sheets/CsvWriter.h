#pragma once
// Writes a table as CSV that spreadsheet programs open as it is: UTF-8 with a byte-order mark (so
// Chinese text shows right), comma separated, RFC 4180 quoting, CR LF after every row.
//
// A cell that starts with "=", "+", "-" or "@" gets an apostrophe in front, so a spreadsheet
// program shows it as text instead of running it as a formula; a cell that starts with an
// apostrophe gets one more, so CsvReader, which drops the first apostrophe before one of these
// five characters, reads every cell back exactly.
#include <string>
#include <string_view>
#include <vector>

namespace korvan::CsvWriter {

inline constexpr char kFormulaGuard = '\'';
// Whether a cell is written with kFormulaGuard in front.
bool needsFormulaGuard(std::string_view cell);

// The file's bytes for rows of UTF-8 cells. A row whose cells are all empty or blank is written
// but reads back as no row at all.
std::string write(const std::vector<std::vector<std::string>>& rows);

} // namespace korvan::CsvWriter
