#pragma once
// The sales record list as a spreadsheet file (.xlsx): the column captions in row 1, one row per
// record below, formatted and set up for printing so the workbook opens ready to print.
#include <array>
#include <filesystem>
#include <string>

#include "common/RecordFile.h"
#include "records/SalesRows.h"
#include "sheets/Workbook.h"

namespace korvan {

class SalesWorkbook {
public:
    // What the operator reads when a workbook cannot be made, in both languages alike.
    static constexpr Tr kFailureMessage{"Unable to build Excel 2003 server",
                                        "Unable to build Excel 2003 server"};
    // Record rows a worksheet can hold under its caption row.
    static constexpr std::size_t kMaxRows = Workbook::kMaxRows - 1;

    // Writes the rows (fields GBK) under `captions` (UTF-8) into `file`: column A holds "t"
    // followed by the transaction time, so a spreadsheet keeps it as text; B to E hold the other
    // fields as text. The file is replaced atomically, so a failure leaves it as it was. A failure
    // tells the operator kFailureMessage; its detail says what went wrong.
    static IoResult write(const std::filesystem::path& file, const SalesRows& rows,
                          const std::array<std::string, SalesRows::kFields>& captions);

    // A new empty file with a unique name ending in ".xlsx" in the temporary folder (TMPDIR),
    // readable by the user alone, for a workbook to be written into and handed to a spreadsheet
    // program.
    static Loaded<std::filesystem::path> newTemporaryFile();
};

} // namespace korvan
