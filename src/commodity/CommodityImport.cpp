#include "CommodityImport.h"

#include <optional>
#include <unordered_map>

#include "CommodityColumns.h"
#include "CommodityForm.h"
#include "CommodityValidation.h"
#include "common/Text.h"
#include "common/TextCodec.h"
#include "sheets/SheetFile.h"

namespace korvan {
namespace {

const Tr kNoHeader{"文件中没有标题行", "The file has no header row"};
const Tr kMissingColumns{"缺少必需的列: ", "Required columns are missing: "};
const Tr kControl{"含有换行符或其它控制字符", "holds a line break or another control character"};
const Tr kNotGbk{"含有秤无法保存的字符", "holds characters the scale cannot store"};
const Tr kTooLong{"超过%1字节", "is longer than %1 bytes"};
const Tr kNotWord{"应为: ", "must be one of: "};
const Tr kSummary{"新增%1行, 更新%2行, 拒绝%3行", "%1 to add, %2 to update, %3 rejected"};
const Tr kIgnored{"; 忽略的列: ", "; columns ignored: "};
const Tr kLine{"第%1行", "line %1"};

constexpr std::size_t kFields = CommodityRecord::kFieldCount;

// `pattern` in the current language with %1, %2, %3 replaced by the numbers.
std::string format(const Tr& pattern, std::initializer_list<std::size_t> numbers) {
    std::string values[3];
    std::size_t n = 0;
    for (std::size_t number : numbers)
        values[n++] = std::to_string(number);
    return Text::fillIn(pattern.get(), {values[0], values[1], values[2]});
}

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts) {
        if (!out.empty())
            out += ", ";
        out += text;
    }
    return out;
}

// Which of the file's columns holds each field.
struct ColumnMap {
    std::array<std::optional<std::size_t>, kFields> column;
    std::array<std::string, kFields> header; // as the file writes it
};

bool hasControl(std::string_view text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

// The choice value a cell names: either language's word for it, case and blanks ignored.
template <class E> std::optional<E> readWord(std::string_view cell) {
    for (E value : {E{0}, E{1}}) {
        for (Lang lang : {Lang::Chinese, Lang::English}) {
            if (CommodityColumns::sameWord(cell, ChoiceWords::displayText(value, lang)))
                return value;
        }
    }
    return std::nullopt;
}

template <class E> std::string wordList() {
    std::vector<std::string> words;
    for (Lang lang : {Lang::English, Lang::Chinese}) {
        for (E value : {E{0}, E{1}})
            words.emplace_back(ChoiceWords::displayText(value, lang));
    }
    return joined(words);
}

// A cell that cannot go into its field, and why (current language).
struct Fault {
    std::size_t field;
    std::string reason;
};

// Puts one text cell into the form, or says why it cannot go in. Emptiness is left to the
// editor's checks, which run afterwards.
std::optional<std::string> textCell(std::string_view cell, CommodityField field, std::string& out) {
    if (hasControl(cell))
        return std::string(kControl.get());
    auto gbk = TextCodec::toGbk(cell);
    if (!gbk)
        return std::string(kNotGbk.get());
    if (gbk->size() > CommodityRecord::maxBytes(field))
        return format(kTooLong, {CommodityRecord::maxBytes(field)});
    out = std::move(*gbk);
    return std::nullopt;
}

template <class E>
std::optional<std::string> choiceCell(std::string_view cell, std::optional<E>& out) {
    if (cell.find_first_not_of(" \t") == std::string_view::npos) {
        out.reset(); // the editor's "can't be empty" check reports it
        return std::nullopt;
    }
    out = readWord<E>(cell);
    if (!out)
        return kNotWord.get() + wordList<E>();
    return std::nullopt;
}

// The form's text box of each field, in field order; none for the three choices.
constexpr std::array<std::string CommodityForm::*, kFields> kTextFields = {
    &CommodityForm::name,
    &CommodityForm::code,
    &CommodityForm::unitPrice,
    nullptr,
    nullptr,
    &CommodityForm::tare,
    &CommodityForm::shelfLife,
    nullptr,
    &CommodityForm::discountRate,
    &CommodityForm::descriptionNumber,
};

// The form a row makes on top of `base`, or the first cell that cannot go into it.
std::optional<Fault> fillForm(const CommodityImportRow& row, const ColumnMap& map,
                              CommodityForm& form) {
    for (std::size_t i = 0; i < kFields; ++i) {
        if (!map.column[i])
            continue;
        const std::string& cell = row.cells[i];
        const auto field = static_cast<CommodityField>(i);
        std::optional<std::string> reason;
        if (std::string CommodityForm::*text = kTextFields[i])
            reason = textCell(cell, field, form.*text);
        else if (field == CommodityField::PriceChange)
            reason = choiceCell(cell, form.priceChange);
        else if (field == CommodityField::SalesMode)
            reason = choiceCell(cell, form.salesMode);
        else
            reason = choiceCell(cell, form.discount);
        if (reason)
            return Fault{i, std::move(*reason)};
    }
    return std::nullopt;
}

// Which column holds which field (the first one naming it); headers that name no field, or a
// field already taken, go to `ignored`. The missing required headers' names, or "".
std::string mapColumns(const std::vector<std::string>& headers, ColumnMap& map,
                       std::vector<std::string>& ignored) {
    for (std::size_t c = 0; c < headers.size(); ++c) {
        const auto field = CommodityColumns::match(headers[c]);
        const auto i = field ? static_cast<std::size_t>(*field) : kFields;
        if (i < kFields && !map.column[i]) {
            map.column[i] = c;
            map.header[i] = headers[c];
        } else if (headers[c].find_first_not_of(" \t") != std::string::npos) {
            ignored.push_back(headers[c]);
        }
    }
    std::vector<std::string> missing;
    for (CommodityField required :
         {CommodityField::Name, CommodityField::Code, CommodityField::UnitPrice}) {
        if (!map.column[static_cast<std::size_t>(required)])
            missing.emplace_back(CommodityColumns::of(required).header.get());
    }
    return missing.empty() ? std::string() : kMissingColumns.get() + joined(missing);
}

// Why the row cannot go in: the first cell that cannot, or the editor's check that fails,
// whichever names the earlier field (a cell that could not go in leaves its field as it was,
// which proves nothing).
std::optional<Fault> firstFault(const CommodityImportRow& row, const ColumnMap& map,
                                CommodityForm& form, bool updating, std::size_t listSize) {
    std::optional<Fault> fault = fillForm(row, map, form);
    const auto editorMode =
        updating ? CommodityValidation::Mode::Updating : CommodityValidation::Mode::Adding;
    if (auto failed = CommodityValidation::firstFailure(form, editorMode, listSize)) {
        const auto field = CommodityValidation::fieldOf(*failed);
        const std::size_t index = field ? static_cast<std::size_t>(*field) : kFields;
        if (!fault || !field || index < fault->field)
            fault = Fault{index, CommodityValidation::message(*failed).get()};
    }
    return fault;
}

} // namespace

CommodityImport CommodityImport::plan(const SheetRead& sheet,
                                      const std::vector<CommodityRecord>& current, Mode mode) {
    CommodityImport result;
    result.merged = current;
    if (!sheet.ok()) {
        result.problem = sheet.message();
        return result;
    }
    if (sheet.rows.empty()) {
        result.problem = kNoHeader.get();
        return result;
    }

    ColumnMap map;
    if (std::string missing = mapColumns(sheet.rows.front().cells, map, result.ignoredColumns);
        !missing.empty()) {
        result.problem = std::move(missing);
        return result;
    }

    if (mode == Mode::Replace)
        result.merged.clear();
    std::unordered_map<std::string, std::size_t> byCode;
    byCode.reserve(result.merged.size() + sheet.rows.size());
    for (std::size_t i = 0; i < result.merged.size(); ++i)
        byCode.try_emplace(result.merged[i].code, i); // the first of a repeated code is updated

    result.rows.reserve(sheet.rows.size() - 1);
    for (std::size_t r = 1; r < sheet.rows.size(); ++r) {
        const SheetRow& source = sheet.rows[r];
        CommodityImportRow row;
        row.line = source.line;
        bool anything = false;
        for (std::size_t i = 0; i < kFields; ++i) {
            if (map.column[i] && *map.column[i] < source.cells.size()) {
                row.cells[i] = source.cells[*map.column[i]];
                anything = anything || !row.cells[i].empty();
            }
        }
        if (!anything)
            continue; // nothing of a commodity: a note or a total in columns that are not read

        // The record of the row's code, when the list (or an earlier row) has one.
        std::optional<std::size_t> existing;
        if (auto code = TextCodec::toGbk(row.cells[static_cast<std::size_t>(CommodityField::Code)]))
            if (auto found = byCode.find(*code); found != byCode.end())
                existing = found->second;

        CommodityForm form =
            CommodityForm::from(existing ? result.merged[*existing] : CommodityRecord::newRecord());
        const std::optional<Fault> fault =
            firstFault(row, map, form, existing.has_value(), result.merged.size());
        if (fault) {
            row.status = CommodityImportRow::Status::Rejected;
            if (fault->field < kFields) {
                row.column = map.header[fault->field];
                row.field = static_cast<CommodityField>(fault->field);
            }
            row.reason = std::move(fault->reason);
            ++result.rejected;
        } else if (existing) {
            row.status = CommodityImportRow::Status::Update;
            row.record = form.toRecord();
            result.merged[*existing] = row.record;
            ++result.updated;
        } else {
            row.status = CommodityImportRow::Status::Add;
            byCode.emplace(form.code, result.merged.size());
            row.record = form.toRecord();
            result.merged.push_back(row.record);
            ++result.added;
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

CommodityImport CommodityImport::planFile(const std::filesystem::path& file,
                                          const std::vector<CommodityRecord>& current, Mode mode) {
    return plan(SheetFile::read(file), current, mode);
}

std::string CommodityImport::summary() const {
    std::string text = format(kSummary, {added, updated, rejected});
    if (!ignoredColumns.empty())
        text += kIgnored.get() + joined(ignoredColumns);
    return text;
}

std::vector<std::string> CommodityImport::rejectionLines() const {
    std::vector<std::string> lines;
    for (const CommodityImportRow& row : rows) {
        if (row.status != CommodityImportRow::Status::Rejected)
            continue;
        std::string line = format(kLine, {row.line});
        if (!row.column.empty())
            line += ", " + row.column;
        line += ": " + row.reason;
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace korvan
