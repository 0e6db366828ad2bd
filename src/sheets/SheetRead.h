#pragma once
// What reading a spreadsheet file (CSV or .xlsx) gives: its non-empty rows as UTF-8 texts, each
// with the line (CSV) or row number (workbook) the operator sees, or why the file could not be
// read. The readers know nothing of what the columns mean.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "common/RecordFile.h"

namespace korvan {

struct SheetRow {
    std::size_t line = 0;           // 1-based: the CSV line the row starts on, the sheet's row
    std::vector<std::string> cells; // UTF-8, column A first; trailing empty cells may be missing
};

struct [[nodiscard]] SheetRead {
    enum class Problem {
        None,
        File,     // the file could not be read (see io)
        NotSheet, // the bytes are not a file of the expected kind, or it is damaged
        TooLarge, // more than a commodity or record list could ever need
        Utf16,    // CSV saved as UTF-16, which is not read: the operator saves it again
    };

    // Limits that keep a damaged or hostile file from taking the machine's memory or time.
    static constexpr std::size_t kMaxFileBytes = 64u << 20;      // the file as stored
    static constexpr std::size_t kMaxCells = 1u << 20;           // cells kept, empty ones included
    static constexpr std::size_t kMaxUnpackedBytes = 256u << 20; // .xlsx: XML read, all parts

    std::vector<SheetRow> rows;
    Problem problem = Problem::None;
    IoResult io;        // for Problem::File
    std::string detail; // English, for a log or a command line: what exactly went wrong

    bool ok() const { return problem == Problem::None; }
    explicit operator bool() const { return ok(); }
    // One line for the operator in the current language (empty when the read worked).
    std::string message() const;

    // Reads a file and hands its bytes to `parse` (a function of std::string_view giving a
    // SheetRead). A file that is missing (a record file may be missing, a file to import may
    // not), unreadable or larger than kMaxFileBytes is refused before anything is parsed.
    template <class Parse>
    static SheetRead readFile(const std::filesystem::path& file, Parse parse) {
        std::string bytes;
        SheetRead loaded = load(file, bytes);
        return loaded.ok() ? parse(std::string_view(bytes)) : loaded;
    }
    static SheetRead load(const std::filesystem::path& file, std::string& bytes);

    static SheetRead failed(Problem problem, std::string detail) {
        SheetRead read;
        read.problem = problem;
        read.detail = std::move(detail);
        return read;
    }
};

} // namespace korvan
