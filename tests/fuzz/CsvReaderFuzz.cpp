// The CSV reader on arbitrary bytes: it reads without fault, rows come in line order, and what it
// reads, written back as CSV, reads as the same cells on the lines the writer put them on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "sheets/CsvReader.h"
#include "sheets/CsvWriter.h"

using namespace korvan;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// Line breaks as the reader counts them: LF, CR LF and a lone CR.
std::size_t lineBreaks(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SheetRead read = CsvReader::parse(bytes);
    if (!read.ok())
        return 0;

    std::vector<std::vector<std::string>> table;
    std::size_t previous = 0;
    for (const SheetRow& row : read.rows) {
        require(row.line > previous);
        previous = row.line;
        table.push_back(row.cells);
    }

    // Every cell of a kept row is UTF-8 (what was not is U+FFFD) and some cell is not blank, so
    // the writer's quoting brings back each cell as it was.
    const SheetRead again = CsvReader::parse(CsvWriter::write(table));
    require(again.ok());
    require(again.rows.size() == table.size());
    std::size_t line = 1;
    for (std::size_t i = 0; i < table.size(); ++i) {
        require(again.rows[i].cells == table[i]);
        require(again.rows[i].line == line);
        for (const std::string& cell : table[i])
            line += lineBreaks(cell);
        ++line;
    }
    return 0;
}
