#pragma once
// The commodity list as a spreadsheet: CSV (UTF-8 with a byte-order mark, comma separated) or
// .xlsx, the header row in the given language, one row per record, every cell text. Choice
// fields are written as the list shows them; an import reads either language back.
#include <filesystem>
#include <string>
#include <vector>

#include "CommodityRecord.h"
#include "common/Language.h"

namespace korvan {

namespace CommodityExport {

enum class Format { Csv, Xlsx };

// The format a file name asks for: .xlsx (any case) for a workbook, CSV for anything else.
Format formatOf(const std::filesystem::path& file);

// The header and the rows as texts (UTF-8): what both formats write.
std::vector<std::vector<std::string>> table(const std::vector<CommodityRecord>& records, Lang lang);
// The CSV file's bytes.
std::string csv(const std::vector<CommodityRecord>& records, Lang lang);

// Writes the file in the format its name asks for, replacing it atomically. A workbook that
// cannot be written tells the operator so with the file's name; its detail says what went wrong.
IoResult write(const std::filesystem::path& file, const std::vector<CommodityRecord>& records,
               Lang lang);

} // namespace CommodityExport
} // namespace korvan
