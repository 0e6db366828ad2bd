#include "CsvReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

#include <csv.h>

#include "CsvWriter.h"
#include "common/TextCodec.h"

namespace korvan::CsvReader {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
constexpr char kQuote = '"';

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isBlankText(std::string_view text) {
    for (char c : text)
        if (!isBlank(c))
            return false;
    return true;
}

// End of the line that starts at `start`, its line break included. A line ends at LF, CR LF or a
// lone CR, the same characters on which libcsv ends a row.
std::size_t lineEnd(std::string_view text, std::size_t start) {
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '\n')
            return i + 1;
        if (text[i] == '\r')
            return i + 1 < text.size() && text[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return text.size();
}

// The file's text as UTF-8. Without a byte-order mark, bytes that are not well-formed UTF-8 are
// GBK, the code page spreadsheet programs on a Chinese system save in; every byte that is not
// GBK either becomes U+FFFD. But a damaged UTF-8 file (well-formed characters outnumber the bad
// bytes; GBK text read as UTF-8 gives mostly bad bytes) stays UTF-8 with U+FFFD for its bad bytes:
// read as GBK it would turn into mojibake that might pass for text.
std::string toText(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark))
        return TextCodec::utf8Lossy(bytes.substr(kByteOrderMark.size()));
    if (TextCodec::isUtf8(bytes))
        return std::string(bytes);
    std::string asUtf8 = TextCodec::utf8Lossy(bytes);
    std::size_t sequences = 0; // lead bytes of multi-byte characters, U+FFFD included
    for (unsigned char c : asUtf8)
        sequences += c >= 0xC0;
    std::size_t replaced = 0;
    for (std::size_t at = asUtf8.find(kReplacement); at != std::string::npos;
         at = asUtf8.find(kReplacement, at + kReplacement.size()))
        ++replaced;
    if (sequences - replaced > replaced)
        return asUtf8;
    return TextCodec::toUtf8Lossy(bytes);
}

// UTF-16 text: a byte-order mark, or the zero bytes its ASCII characters carry at every other
// place. Text in UTF-8 or GBK holds no zero byte as a rule; a file marked as UTF-8 (as our own
// writer marks it) is taken at its word, whatever stray zero bytes its cells hold.
bool isUtf16(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return true;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return false;
    const std::size_t sample = std::min<std::size_t>(bytes.size(), 1024) & ~std::size_t{1};
    std::array<std::size_t, 2> zeros{};
    for (std::size_t i = 0; i < sample; ++i)
        zeros[i % 2] += bytes[i] == '\0';
    // A quarter of the places on one side: a Chinese text still has its commas and line ends.
    return sample > 0 && std::max(zeros[0], zeros[1]) * 8 >= sample;
}

// The separator the header (the first line that is not blank) uses most often outside quotes:
// comma, semicolon or tab; comma when it has none of them (a one-column file).
char separatorOf(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = lineEnd(text, start);
        if (text.substr(start, end - start).find_first_not_of(" \t\r\n") != std::string_view::npos)
            break;
        start = end;
    }
    constexpr std::array<char, 3> kSeparators{',', ';', '\t'};
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kQuote)
            quoted = !quoted; // a doubled quote inside quotes toggles twice
        else if (quoted)
            continue;
        else if (c == '\n' || c == '\r')
            break;
        for (std::size_t s = 0; s < kSeparators.size(); ++s)
            counts[s] += c == kSeparators[s];
    }
    std::size_t best = 0;
    for (std::size_t s = 1; s < kSeparators.size(); ++s)
        if (counts[s] > counts[best])
            best = s;
    return kSeparators[best];
}

// What libcsv's callbacks build up.
struct Collector {
    std::vector<SheetRow> rows;
    std::vector<std::string> cells; // of the row being read
    std::size_t rowLine = 0;        // the line the row being read starts on
    bool rowOpen = false;           // a row has begun and not yet ended
    std::size_t cellsKept = 0;
    bool tooLarge = false;
};

void onField(void* data, std::size_t size, void* target) {
    auto& c = *static_cast<Collector*>(target);
    if (c.tooLarge)
        return;
    if (c.cellsKept + c.cells.size() >= SheetRead::kMaxCells) {
        c.tooLarge = true;
        return;
    }
    std::string_view cell(static_cast<const char*>(data), size);
    // The apostrophe CsvWriter puts before a cell a spreadsheet would run as a formula.
    if (cell.size() >= 2 && cell[0] == CsvWriter::kFormulaGuard &&
        CsvWriter::needsFormulaGuard(cell.substr(1)))
        cell.remove_prefix(1);
    c.cells.emplace_back(cell);
}

void onRow(int, void* target) {
    auto& c = *static_cast<Collector*>(target);
    c.rowOpen = false;
    if (c.tooLarge)
        return;
    bool blank = true;
    for (const std::string& cell : c.cells)
        blank = blank && isBlankText(cell);
    const std::size_t width = c.cells.size();
    if (!blank) {
        c.cellsKept += width;
        c.rows.push_back(SheetRow{c.rowLine, std::move(c.cells)});
    }
    c.cells.clear();
    c.cells.reserve(width); // rows are mostly as wide as the one before
}

// Field text is kept as it is: libcsv would otherwise trim spaces and tabs around unquoted fields.
int noSpace(unsigned char) {
    return 0;
}

class Parser {
public:
    explicit Parser(char separator) {
        csv_init(&parser_, 0); // lenient, as spreadsheet programs are
        csv_set_delim(&parser_, static_cast<unsigned char>(separator));
        csv_set_space_func(&parser_, noSpace);
        // The entry buffer grows by this much at a time; the default (128) makes a long field slow.
        csv_set_blk_size(&parser_, 64 * 1024);
    }
    ~Parser() { csv_free(&parser_); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    bool parse(std::string_view text, Collector& collector) {
        return csv_parse(&parser_, text.data(), text.size(), onField, onRow, &collector) ==
               text.size();
    }
    void finish(Collector& collector) { csv_fini(&parser_, onField, onRow, &collector); }

private:
    csv_parser parser_{};
};

} // namespace

SheetRead parse(std::string_view bytes) {
    if (bytes.size() > SheetRead::kMaxFileBytes)
        return SheetRead::failed(SheetRead::Problem::TooLarge, "the CSV file is over 64 MiB");
    if (isUtf16(bytes))
        return SheetRead::failed(SheetRead::Problem::Utf16, "the CSV file is UTF-16 text");
    const std::string text = toText(bytes);
    Parser parser(separatorOf(text));
    Collector collector;
    // Fed a line at a time, so the line a row starts on is known: libcsv skips only line breaks
    // between rows and ends a row only at a line break, so a row begins on the first line after
    // the last row's end that holds anything else.
    std::size_t line = 0;
    for (std::size_t start = 0; start < text.size() && !collector.tooLarge;) {
        const std::size_t end = lineEnd(text, start);
        const std::string_view piece(text.data() + start, end - start);
        ++line;
        if (!collector.rowOpen && piece.find_first_not_of("\r\n") != std::string_view::npos) {
            collector.rowOpen = true;
            collector.rowLine = line;
        }
        if (!parser.parse(piece, collector))
            return SheetRead::failed(SheetRead::Problem::TooLarge,
                                     "not enough memory for a CSV field");
        start = end;
    }
    // Ends a last row without a line end, and a quoted field left open at the end of the file.
    parser.finish(collector);
    if (collector.tooLarge)
        return SheetRead::failed(SheetRead::Problem::TooLarge,
                                 "the CSV file has more than " +
                                     std::to_string(SheetRead::kMaxCells) + " cells");
    SheetRead read;
    read.rows = std::move(collector.rows);
    return read;
}

SheetRead read(const std::filesystem::path& file) {
    return SheetRead::readFile(file, parse);
}

} // namespace korvan::CsvReader
