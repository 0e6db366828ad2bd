#pragma once
// The sales records of record/dzcjl.rec, kept compactly: the file's bytes in one buffer and, per
// row, where its fields lie in it. A year of sales (a million lines) then costs the file's size
// plus 24 bytes a row, and loads without a heap string per field.
//
// The file: one record per line, five fields joined by form feeds, CR LF after each line. Lines
// and fields split as in every record file (RecordFile's findLineEnd and findSeparators): a bare
// LF or CR also ends a line, field 4 runs to the end of the line, form feeds included, and a line
// with fewer separators leaves its last fields empty.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "SalesRows.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include "link/SalesRecord.h"

namespace korvan {

class SalesRecords final : public SalesRows {
public:
    // Offsets into the buffer are 32-bit: the text of all rows stays below 4 GiB.
    static constexpr std::size_t kMaxBytes = UINT32_MAX;

    // Every line of the file as a row, in file order. A missing file gives no rows (and ok). A file
    // that cannot be read, or is larger than kMaxBytes, gives no rows and a failed result: the
    // caller must then not save over it.
    static Loaded<SalesRecords> load(const std::filesystem::path& file);
    // The same, remembering what was read so a later save can tell another program's write.
    static Loaded<SalesRecords> load(TrackedFile& file);
    // Rows from file bytes, as load splits them.
    static SalesRecords fromBytes(std::string bytes);

    std::size_t size() const override { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    // The field's bytes; valid until the rows change (an append may move the buffer).
    std::string_view field(std::size_t row, std::size_t column) const override;

    // The row's line as the file holds it: its five fields joined by form feeds. A view into the
    // rows when the line has all five fields, else made in `scratch`.
    std::string_view joinedLine(std::size_t row, std::string& scratch) const;

    // A record read from the scale goes after the last row. Its fields are made storable first
    // (see storableField); the record's `row` is not used. Throws std::length_error past
    // kMaxBytes, as a full container does.
    void append(const SalesRecord& record);
    // Removes the rows whose indices are given (in any order; repeated or out-of-range indices are
    // ignored). The rows left keep their order.
    void erase(const std::vector<std::size_t>& rows);

    // The file the rows make: each row's five fields joined by form feeds, CR LF after each; no
    // rows give no bytes. A well-formed CR LF file that was loaded gives back its own bytes.
    std::string fileBytes() const;
    // Writes fileBytes() over the file atomically; on failure the old file is left as it was.
    IoResult save(const std::filesystem::path& file) const;

    // A field as the file can hold it. A line break would end the record early and a form feed
    // would shift the fields after it, so in fields 0 to 3 each form feed, and in every field each
    // line break (CR LF, or a lone CR or LF), becomes one space. Field 4 keeps its form feeds: it
    // runs to the end of the line, so they read back as they were. GBK trail bytes are never
    // below 0x40, so no character is cut.
    static std::string storableField(std::string_view text, std::size_t column);
    // The line a record is written as (without its line end): its storable fields joined by form
    // feeds.
    static std::string storableLine(const std::array<std::string, kFields>& fields);

private:
    // Where one row lies in the buffer: field 0 starts at `begin`; sep[i] is the (i+1)-th
    // separator, or `end` when the line has fewer; the line's text ends at `end` (before its line
    // end).
    struct Row {
        std::uint32_t begin;
        std::uint32_t sep[kFields - 1];
        std::uint32_t end;
    };

    // A row for every line of the buffer.
    void index();
    // The row of the line text buffer_[begin, end).
    Row locate(std::size_t begin, std::size_t end) const;
    void appendLine(std::string_view line);

    std::string buffer_;
    std::vector<Row> rows_;
};

} // namespace korvan
