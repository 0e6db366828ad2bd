#include "sheets/XlsxReader.h"
#include "common/Text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <expat.h>
#include <zip.h>

namespace korvan::XlsxReader {
namespace {

using Problem = SheetRead::Problem;

constexpr std::size_t kMaxColumns = 16384; // A to XFD
constexpr std::size_t kMaxRows = 1048576;
constexpr std::size_t kChunk = 64 * 1024;
// Expat joins a namespace URI and a local name with this; neither can hold a space.
constexpr XML_Char kNamespaceSeparator = ' ';

struct Failure {
    Problem problem;
    std::string detail;
};
using Outcome = std::optional<Failure>; // empty when the step worked

// ---- Text ----------------------------------------------------------------------------------

// An Excel escape "_xHHHH_" (one UTF-16 code unit) at `at`.
std::optional<std::uint32_t> escapeAt(std::string_view text, std::size_t at) {
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
        return std::nullopt;
    std::uint32_t unit = 0;
    const char* digits = text.data() + at + 2;
    const auto [end, error] = std::from_chars(digits, digits + 4, unit, 16);
    if (error != std::errc() || end != digits + 4)
        return std::nullopt;
    return unit;
}

// Excel writes characters XML cannot hold (control characters) as "_xHHHH_", and a literal "_x"
// that would read as such an escape with its underscore escaped ("_x005F_").
std::string unescapeExcel(std::string text) {
    if (text.find("_x") == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const auto unit = escapeAt(text, i)) {
            if (*unit >= 0xD800 && *unit < 0xDC00) {
                const auto low = escapeAt(text, i + 7);
                if (low && *low >= 0xDC00 && *low < 0xE000) {
                    Text::appendUtf8(out, 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
                    i += 14;
                    continue;
                }
            } else if (*unit < 0xDC00 || *unit >= 0xE000) {
                Text::appendUtf8(out, *unit);
                i += 7;
                continue;
            }
            // A lone surrogate cannot be written in UTF-8: the escape stays as text.
        }
        out += text[i++];
    }
    return out;
}

// Whether a stored number already reads as the General format shows it: a plain decimal
// without redundant zeros, of at most 15 significant digits (which a double keeps exactly), in
// the range shown without an exponent. Most stored numbers are, and skip the conversion.
bool showsAsStored(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (whole.empty() || !std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit))
        return false;
    if (point != std::string_view::npos && (fraction.empty() || fraction.back() == '0'))
        return false;
    if (whole != "0")
        return whole.front() != '0' && whole.size() + fraction.size() <= 15;
    if (fraction.empty())
        return !negative; // "-0" shows as "0"
    const std::size_t zeros = fraction.find_first_not_of('0');
    return zeros <= 8 && fraction.size() - zeros <= 15;
}

// A stored number as a spreadsheet shows it in the General format: at most 15 significant
// digits, no trailing zeros, an exponent only for very large or very small magnitudes.
std::optional<std::string> generalNumber(std::string_view stored) {
    stored = Text::trimmed(stored);
    if (showsAsStored(stored))
        return std::string(stored);
    double value = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (stored.empty() || error != std::errc() || end != stored.data() + stored.size() ||
        !std::isfinite(value))
        return std::nullopt;
    if (value == 0)
        return "0";

    // d.dddddddddddddde±XX: the value rounded to 15 significant digits.
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::abs(value),
                                       std::chars_format::scientific, 14);
    const std::string_view scientific(buffer, written.ptr - buffer);
    const auto e = scientific.find('e');
    std::string digits(1, scientific[0]);
    digits += scientific.substr(2, e - 2);
    digits.erase(digits.find_last_not_of('0') + 1);
    int exponent = 0;
    std::string_view exponentText = scientific.substr(e + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent)
        exponent = -exponent;

    std::string out = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -9) {
        out += digits[0];
        if (digits.size() > 1)
            out.append(".").append(digits, 1);
        out += negativeExponent ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const std::size_t whole = std::size_t(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits;
            out.append(whole - digits.size(), '0');
        } else {
            out.append(digits, 0, whole).append(".").append(digits, whole);
        }
    } else {
        out.append("0.").append(std::size_t(-exponent - 1), '0').append(digits);
    }
    return out;
}

// ---- Cell references -----------------------------------------------------------------------

std::optional<std::size_t> parseRowNumber(std::string_view text) {
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number == 0 ||
        number > kMaxRows)
        return std::nullopt;
    return number;
}

// "B3" → column 1. Refuses anything but letters and an optional row number inside the sheet's
// bounds (A1 to XFD1048576).
std::optional<std::size_t> parseColumn(std::string_view reference) {
    std::size_t column = 0;
    std::size_t letters = 0;
    for (; letters < reference.size(); ++letters) {
        const char c = reference[letters];
        const char upper = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z')
            break;
        column = column * 26 + std::size_t(upper - 'A' + 1);
        if (column > kMaxColumns)
            return std::nullopt;
    }
    if (letters == 0)
        return std::nullopt;
    if (letters < reference.size() && !parseRowNumber(reference.substr(letters)))
        return std::nullopt;
    return column - 1;
}

// ---- Zip -----------------------------------------------------------------------------------

class Archive {
public:
    Archive() = default;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive() {
        if (zip_)
            zip_discard(zip_);
    }

    Outcome open(std::string_view bytes) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes.empty() ? nullptr : bytes.data(),
                                                        bytes.size(), 0, &error);
        if (source)
            zip_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        Outcome outcome;
        if (!zip_) {
            outcome = Failure{Problem::NotSheet,
                              std::string("not a zip archive: ") + zip_error_strerror(&error)};
            zip_source_free(source); // still ours when the open failed
        }
        zip_error_fini(&error);
        return outcome;
    }

    std::optional<zip_uint64_t> locate(const std::string& name) const {
        // Part names in a package compare without regard to case.
        const zip_int64_t index = zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE);
        if (index < 0)
            return std::nullopt;
        return zip_uint64_t(index);
    }

    zip_t* get() const { return zip_; }

private:
    zip_t* zip_ = nullptr;
};

// A relationship target as a part name: relative to the workbook's folder, or from the
// package's root when it starts with '/'.
std::string partName(std::string_view target) {
    std::vector<std::string_view> segments;
    if (!target.empty() && target.front() == '/')
        target.remove_prefix(1);
    else
        segments.push_back("xl");
    while (!target.empty()) {
        const auto slash = target.find('/');
        const std::string_view segment = target.substr(0, slash);
        target = slash == std::string_view::npos ? std::string_view() : target.substr(slash + 1);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
    }
    std::string name;
    for (const auto segment : segments) {
        if (!name.empty())
            name += '/';
        name += segment;
    }
    return name;
}

// ---- XML -----------------------------------------------------------------------------------

std::string_view localName(const XML_Char* name) {
    const std::string_view full(name);
    const auto separator = full.rfind(kNamespaceSeparator);
    return separator == std::string_view::npos ? full : full.substr(separator + 1);
}

const XML_Char* attribute(const XML_Char** attributes, std::string_view local) {
    for (; *attributes; attributes += 2)
        if (localName(attributes[0]) == local)
            return attributes[1];
    return nullptr;
}

// The handlers of one part, fed by streamPart. A handler stops the parse with fail() or, once it
// has what it needs, with finish().
class PartReader {
public:
    virtual ~PartReader() = default;

    void attach(XML_Parser parser) { parser_ = parser; }
    bool stopped() const { return failure_.has_value() || finished_; }
    const Outcome& failure() const { return failure_; }

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        guarded(self, [&](PartReader& reader) { reader.start(localName(name), attributes); });
    }
    static void XMLCALL onEnd(void* self, const XML_Char* name) {
        guarded(self, [&](PartReader& reader) { reader.end(localName(name)); });
    }
    static void XMLCALL onText(void* self, const XML_Char* text, int length) {
        guarded(self, [&](PartReader& reader) {
            if (reader.text_)
                reader.text_->append(text, std::size_t(length));
        });
    }
    // No part of a workbook has a document type; refusing one keeps entity tricks out.
    static void XMLCALL onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        static_cast<PartReader*>(self)->fail(Problem::NotSheet, "a document type declaration");
    }

protected:
    virtual void start(std::string_view name, const XML_Char** attributes) = 0;
    virtual void end(std::string_view name) = 0;

    void fail(Problem problem, std::string detail) {
        if (!failure_)
            failure_ = Failure{problem, std::move(detail)};
        XML_StopParser(parser_, XML_FALSE);
    }
    void finish() {
        finished_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }
    // Character data goes to `target` until collect(nullptr).
    void collect(std::string* target) { text_ = target; }

private:
    // Expat is C: nothing may be thrown through it. Calls after a stop are dropped.
    template <class Call> static void guarded(void* self, Call call) {
        auto& reader = *static_cast<PartReader*>(self);
        if (reader.stopped())
            return;
        try {
            call(reader);
        } catch (const std::bad_alloc&) {
            reader.fail(Problem::TooLarge, "out of memory");
        } catch (const std::exception& error) {
            reader.fail(Problem::NotSheet, error.what());
        }
    }

    XML_Parser parser_ = nullptr;
    Outcome failure_;
    bool finished_ = false;
    std::string* text_ = nullptr;
};

// Streams one part of the archive through expat into `reader`, counting what is unpacked.
Outcome streamPart(const Archive& archive, zip_uint64_t index, const std::string& name,
                   PartReader& reader, std::size_t& unpacked) {
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreateNS(nullptr, kNamespaceSeparator), &XML_ParserFree);
    if (!parser)
        return Failure{Problem::TooLarge, "out of memory"};
    XML_Parser p = parser.get();
    reader.attach(p);
    XML_SetUserData(p, &reader);
    XML_SetElementHandler(p, &PartReader::onStart, &PartReader::onEnd);
    XML_SetCharacterDataHandler(p, &PartReader::onText);
    XML_SetStartDoctypeDeclHandler(p, &PartReader::onDoctype);

    const std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(
        zip_fopen_index(archive.get(), index, 0), &zip_fclose);
    if (!file)
        return Failure{Problem::NotSheet,
                       "cannot open " + name + ": " + zip_strerror(archive.get())};
    for (;;) {
        void* buffer = XML_GetBuffer(p, int(kChunk));
        if (!buffer)
            return Failure{Problem::TooLarge, "out of memory"};
        const zip_int64_t got = zip_fread(file.get(), buffer, kChunk);
        if (got < 0)
            return Failure{Problem::NotSheet,
                           name + " is damaged: " + zip_file_strerror(file.get())};
        unpacked += std::size_t(got);
        if (unpacked > SheetRead::kMaxUnpackedBytes)
            return Failure{Problem::TooLarge, "the workbook unpacks to more than " +
                                                  std::to_string(SheetRead::kMaxUnpackedBytes) +
                                                  " bytes"};
        if (XML_ParseBuffer(p, int(got), got == 0) != XML_STATUS_OK) {
            if (reader.failure())
                return Failure{reader.failure()->problem,
                               reader.failure()->detail + " in " + name + " at line " +
                                   std::to_string(XML_GetCurrentLineNumber(p))};
            if (reader.stopped())
                return std::nullopt;
            return Failure{Problem::NotSheet, "malformed XML in " + name + " at line " +
                                                  std::to_string(XML_GetCurrentLineNumber(p)) +
                                                  ": " + XML_ErrorString(XML_GetErrorCode(p))};
        }
        if (got == 0)
            return std::nullopt;
    }
}

// ---- The parts -----------------------------------------------------------------------------

// xl/workbook.xml: the relationship id of the first sheet.
class WorkbookReader : public PartReader {
public:
    std::string firstSheetId;

protected:
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name != "sheet")
            return;
        if (const XML_Char* id = attribute(attributes, "id"))
            firstSheetId = id;
        finish();
    }
    void end(std::string_view) override {}
};

// xl/_rels/workbook.xml.rels: where the first sheet and the shared strings are.
class RelationshipsReader : public PartReader {
public:
    explicit RelationshipsReader(std::string sheetId) : sheetId_(std::move(sheetId)) {}
    std::string sheetTarget;
    std::string stringsTarget;

protected:
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name != "Relationship")
            return;
        const XML_Char* id = attribute(attributes, "Id");
        const XML_Char* target = attribute(attributes, "Target");
        const XML_Char* type = attribute(attributes, "Type");
        const XML_Char* mode = attribute(attributes, "TargetMode");
        if (!target || (mode && std::string_view(mode) == "External"))
            return;
        if (sheetTarget.empty() && id && !sheetId_.empty() && id == sheetId_)
            sheetTarget = target;
        if (stringsTarget.empty() && type && std::string_view(type).ends_with("/sharedStrings"))
            stringsTarget = target;
    }
    void end(std::string_view) override {}

private:
    std::string sheetId_;
};

// A cell that holds a shared string, filled in once the strings are read.
struct PendingString {
    std::size_t row;    // index into the rows kept
    std::size_t column; // 0-based
    std::size_t index;  // into the shared strings
};

// The worksheet: rows of cell texts; shared strings are left to PendingString.
class SheetReader : public PartReader {
    static constexpr std::size_t kNoString = std::size_t(-1);

public:
    SheetReader(std::vector<SheetRow>& rows, std::vector<PendingString>& pending)
        : rows_(rows), pending_(pending) {}

protected:
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "row" && !inRow_)
            startRow(attribute(attributes, "r"));
        else if (name == "c" && inRow_ && !inCell_)
            startCell(attribute(attributes, "r"), attribute(attributes, "t"));
        else if (name == "v" && inCell_ && inlineDepth_ == 0)
            collect(&value_);
        else if (name == "is" && inCell_)
            ++inlineDepth_;
        else if (name == "rPh" && inlineDepth_ > 0)
            ++phoneticDepth_;
        else if (name == "t" && inlineDepth_ > 0 && phoneticDepth_ == 0)
            collect(&inlineText_);
    }

    void end(std::string_view name) override {
        if (name == "v" || name == "t") {
            collect(nullptr);
        } else if (name == "rPh") {
            if (phoneticDepth_ > 0)
                --phoneticDepth_;
        } else if (name == "is") {
            if (inlineDepth_ > 0)
                --inlineDepth_;
        } else if (name == "c" && inCell_) {
            collect(nullptr);
            inCell_ = false;
            finishCell();
        } else if (name == "row" && inRow_) {
            inRow_ = false;
            finishRow();
        }
    }

private:
    void startRow(const XML_Char* reference) {
        std::optional<std::size_t> number;
        if (reference)
            number = parseRowNumber(reference);
        else if (lastRow_ < kMaxRows)
            number = lastRow_ + 1;
        if (!number)
            return fail(Problem::NotSheet,
                        reference ? "bad row number '" + std::string(reference) + "' (1 to 1048576)"
                                  : "a row past 1048576");
        lastRow_ = *number;
        inRow_ = true;
        row_ = SheetRow{*number, {}};
        rowStrings_.clear();
        nextColumn_ = 0;
    }

    void startCell(const XML_Char* reference, const XML_Char* type) {
        std::optional<std::size_t> column;
        if (reference && *reference)
            column = parseColumn(reference);
        else if (nextColumn_ < kMaxColumns)
            column = nextColumn_;
        if (!column)
            return fail(Problem::NotSheet, reference && *reference
                                               ? "bad cell reference '" + std::string(reference) +
                                                     "' (A1 to XFD1048576)"
                                               : "a cell past column XFD");
        inCell_ = true;
        column_ = *column;
        nextColumn_ = column_ + 1;
        type_ = type ? type : "";
        value_.clear();
        inlineText_.clear();
        inlineDepth_ = phoneticDepth_ = 0;
    }

    void finishCell() {
        if (type_ == "s") {
            const std::string_view index = Text::trimmed(value_);
            if (index.empty())
                return place({});
            std::size_t number = 0;
            const auto [end, error] =
                std::from_chars(index.data(), index.data() + index.size(), number);
            if (error != std::errc() || end != index.data() + index.size() || number == kNoString)
                return fail(Problem::NotSheet,
                            "shared string index '" + std::string(index) + "' is not a number");
            return place({}, number);
        }
        if (type_ == "inlineStr")
            return place(unescapeExcel(std::move(inlineText_)));
        if (type_ == "str")
            return place(unescapeExcel(std::move(value_)));
        if (type_ == "b" && (value_ == "0" || value_ == "1"))
            return place(value_ == "1" ? "TRUE" : "FALSE");
        if (type_.empty() || type_ == "n") {
            if (auto number = generalNumber(value_))
                return place(std::move(*number));
        }
        place(std::move(value_)); // errors, dates in ISO form, anything else: as stored
    }

    // A later cell in the same column wins; only content extends the row.
    void place(std::string text, std::size_t sharedString = kNoString) {
        if (column_ >= row_.cells.size()) {
            if (sharedString == kNoString && text.empty())
                return;
            row_.cells.resize(column_ + 1);
            rowStrings_.resize(column_ + 1, kNoString);
        }
        row_.cells[column_] = std::move(text);
        rowStrings_[column_] = sharedString;
    }

    void finishRow() {
        if (row_.cells.empty())
            return;
        cellsKept_ += row_.cells.size();
        if (cellsKept_ > SheetRead::kMaxCells)
            return fail(Problem::TooLarge,
                        "more than " + std::to_string(SheetRead::kMaxCells) + " cells");
        for (std::size_t column = 0; column < rowStrings_.size(); ++column)
            if (rowStrings_[column] != kNoString)
                pending_.push_back({rows_.size(), column, rowStrings_[column]});
        rows_.push_back(std::move(row_));
    }

    std::vector<SheetRow>& rows_;
    std::vector<PendingString>& pending_;
    std::size_t cellsKept_ = 0;
    std::size_t lastRow_ = 0;

    bool inRow_ = false;
    SheetRow row_;
    std::vector<std::size_t> rowStrings_; // the shared string of each cell, or kNoString
    std::size_t nextColumn_ = 0;

    bool inCell_ = false;
    std::size_t column_ = 0;
    std::string type_;
    std::string value_;
    std::string inlineText_;
    int inlineDepth_ = 0;
    int phoneticDepth_ = 0;
};

// The shared strings: keeps only the ones the sheet uses (`wanted`, sorted, no repeats), so a
// large table for other sheets costs no memory.
class SharedStringsReader : public PartReader {
public:
    explicit SharedStringsReader(const std::vector<std::size_t>& wanted)
        : texts(wanted.size()), wanted_(wanted) {}

    std::size_t count = 0;          // strings seen
    std::vector<std::string> texts; // the text of wanted_[i]

protected:
    void start(std::string_view name, const XML_Char**) override {
        if (name == "si" && !inString_) {
            inString_ = true;
            const auto it = std::lower_bound(wanted_.begin(), wanted_.end(), count);
            keep_ = it != wanted_.end() && *it == count;
            slot_ = std::size_t(it - wanted_.begin());
            text_.clear();
        } else if (name == "rPh" && inString_) {
            ++phoneticDepth_;
        } else if (name == "t" && inString_ && keep_ && phoneticDepth_ == 0) {
            collect(&text_);
        }
    }

    void end(std::string_view name) override {
        if (name == "t") {
            collect(nullptr);
        } else if (name == "rPh") {
            if (phoneticDepth_ > 0)
                --phoneticDepth_;
        } else if (name == "si" && inString_) {
            collect(nullptr);
            inString_ = false;
            phoneticDepth_ = 0;
            if (keep_)
                texts[slot_] = unescapeExcel(std::move(text_));
            if (++count > wanted_.back())
                finish(); // the rest are not used
        }
    }

private:
    const std::vector<std::size_t>& wanted_;
    bool inString_ = false;
    bool keep_ = false;
    std::size_t slot_ = 0;
    std::string text_;
    int phoneticDepth_ = 0;
};

// ---- The workbook --------------------------------------------------------------------------

Outcome readWorkbook(std::string_view bytes, std::vector<SheetRow>& rows) {
    Archive archive;
    if (auto failure = archive.open(bytes))
        return failure;
    std::size_t unpacked = 0;

    std::string sheetPart;
    std::string stringsPart;
    const std::string workbookPart = "xl/workbook.xml";
    if (const auto workbook = archive.locate(workbookPart)) {
        WorkbookReader reader;
        if (auto failure = streamPart(archive, *workbook, workbookPart, reader, unpacked))
            return failure;
        const std::string relsPart = "xl/_rels/workbook.xml.rels";
        if (const auto rels = archive.locate(relsPart)) {
            RelationshipsReader relationships(reader.firstSheetId);
            if (auto failure = streamPart(archive, *rels, relsPart, relationships, unpacked))
                return failure;
            if (!relationships.sheetTarget.empty())
                sheetPart = partName(relationships.sheetTarget);
            if (!relationships.stringsTarget.empty())
                stringsPart = partName(relationships.stringsTarget);
        }
    }

    std::optional<zip_uint64_t> sheet;
    if (!sheetPart.empty())
        sheet = archive.locate(sheetPart);
    if (!sheet) {
        sheetPart = "xl/worksheets/sheet1.xml";
        sheet = archive.locate(sheetPart);
    }
    if (!sheet)
        return Failure{Problem::NotSheet, "the workbook has no worksheet"};
    std::vector<PendingString> pending;
    SheetReader sheetReader(rows, pending);
    if (auto failure = streamPart(archive, *sheet, sheetPart, sheetReader, unpacked))
        return failure;
    if (pending.empty())
        return std::nullopt;

    std::vector<std::size_t> wanted;
    wanted.reserve(pending.size());
    for (const PendingString& cell : pending)
        wanted.push_back(cell.index);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());

    std::optional<zip_uint64_t> strings;
    if (!stringsPart.empty())
        strings = archive.locate(stringsPart);
    if (!strings) {
        stringsPart = "xl/sharedStrings.xml";
        strings = archive.locate(stringsPart);
    }
    if (!strings)
        return Failure{Problem::NotSheet, "the sheet uses shared strings the workbook lacks"};
    SharedStringsReader stringsReader(wanted);
    if (auto failure = streamPart(archive, *strings, stringsPart, stringsReader, unpacked))
        return failure;
    if (stringsReader.count <= wanted.back())
        return Failure{Problem::NotSheet, "shared string index " + std::to_string(wanted.back()) +
                                              " out of range (" +
                                              std::to_string(stringsReader.count) + " strings)"};

    // One long string used in many cells would multiply: the texts handed out count too.
    std::size_t textBytes = 0;
    for (const PendingString& cell : pending) {
        const auto slot = std::lower_bound(wanted.begin(), wanted.end(), cell.index);
        textBytes += stringsReader.texts[std::size_t(slot - wanted.begin())].size();
        if (textBytes > SheetRead::kMaxUnpackedBytes)
            return Failure{Problem::TooLarge, "the shared strings used come to more than " +
                                                  std::to_string(SheetRead::kMaxUnpackedBytes) +
                                                  " bytes"};
    }
    for (const PendingString& cell : pending) {
        const auto slot = std::lower_bound(wanted.begin(), wanted.end(), cell.index);
        rows[cell.row].cells[cell.column] = stringsReader.texts[std::size_t(slot - wanted.begin())];
    }
    return std::nullopt;
}

// Shared strings may turn out empty: trailing empty cells go, and rows left with nothing.
void tidy(std::vector<SheetRow>& rows) {
    for (SheetRow& row : rows)
        while (!row.cells.empty() && row.cells.back().empty())
            row.cells.pop_back();
    std::erase_if(rows, [](const SheetRow& row) { return row.cells.empty(); });
}

} // namespace

SheetRead parse(std::string_view bytes) {
    if (bytes.size() > SheetRead::kMaxFileBytes)
        return SheetRead::failed(Problem::TooLarge, "the file is larger than " +
                                                        std::to_string(SheetRead::kMaxFileBytes) +
                                                        " bytes");
    if (bytes.empty())
        return SheetRead::failed(Problem::NotSheet, "the file is empty");
    SheetRead read;
    try {
        if (auto failure = readWorkbook(bytes, read.rows))
            return SheetRead::failed(failure->problem, std::move(failure->detail));
    } catch (const std::bad_alloc&) {
        return SheetRead::failed(Problem::TooLarge, "out of memory");
    }
    tidy(read.rows);
    return read;
}

SheetRead read(const std::filesystem::path& file) {
    return SheetRead::readFile(file, parse);
}

} // namespace korvan::XlsxReader
