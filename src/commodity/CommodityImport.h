#pragma once
// Commodities from a spreadsheet (CSV or .xlsx): the header row names the columns, every further
// row becomes a record, checked as the commodity editor checks it, and the records are merged into
// a list by commodity code. The outcome says, row by row, what would be added, updated or rejected
// and why; nothing is applied here: the caller takes `merged` when the outcome allows it.
#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CommodityRecord.h"
#include "common/Language.h"
#include "sheets/SheetRead.h"

namespace korvan {

struct CommodityImportRow {
    enum class Status { Add, Update, Rejected };

    std::size_t line = 0; // the line or sheet row the operator finds it on
    Status status = Status::Rejected;
    // The row's cells under the ten fields (UTF-8, as in the file); empty for an absent column.
    std::array<std::string, CommodityRecord::kFieldCount> cells;
    // For a row taken: the record as the list will hold it (columns the file lacks filled in).
    CommodityRecord record;
    // For a rejected row: the header of the column at fault as the file writes it (empty when the
    // fault is not one cell's) and the reason in the current language.
    std::string column;
    std::string reason;
    std::optional<CommodityField> field; // the field of that column
};

struct CommodityImport {
    enum class Mode {
        Merge,   // rows update the record of their code, or are appended
        Replace, // the file's rows become the whole list
    };

    // Why the file was refused as a whole (unreadable, no header, a required column missing), in
    // the current language; empty when rows were read.
    std::string problem;
    std::vector<CommodityImportRow> rows;    // every data row, in file order
    std::vector<std::string> ignoredColumns; // headers that name no field, as the file writes them
    std::size_t added = 0;
    std::size_t updated = 0;
    std::size_t rejected = 0;
    // The list once every row that passed is taken (the list given, untouched, when problem is
    // set). Records that were not in the file stay as they were, in their place.
    std::vector<CommodityRecord> merged;

    // Whether the list may become `merged`: the file was read and either no row was rejected or
    // the caller takes the valid rows only (and at least the file's header was understood).
    bool canApply(bool validRowsOnly) const {
        return problem.empty() && (rejected == 0 || validRowsOnly);
    }
    // Whether taking `merged` changes anything worth writing: it may be applied and at least one
    // row is taken. An import that takes no row leaves the list alone; replacing, it would empty
    // it.
    bool takesRows(bool validRowsOnly) const {
        return canApply(validRowsOnly) && added + updated > 0;
    }
    // "3 to add, 2 to update, 1 rejected" and the ignored columns, in the current language.
    std::string summary() const;
    // The rejected rows, one line each: "line 5, Commodity Code: Commodity Code Can't Be Empty".
    std::vector<std::string> rejectionLines() const;

    // Reads the rows of `sheet` against `current`. A row whose code is in the list (or came
    // earlier in the file) replaces that record's fields; the fields of columns the file does not
    // have keep the record's values, or a new record's values for a row that is added.
    static CommodityImport plan(const SheetRead& sheet, const std::vector<CommodityRecord>& current,
                                Mode mode);
    // The same for a spreadsheet file of either kind (SheetFile::read).
    static CommodityImport planFile(const std::filesystem::path& file,
                                    const std::vector<CommodityRecord>& current, Mode mode);
};

} // namespace korvan
