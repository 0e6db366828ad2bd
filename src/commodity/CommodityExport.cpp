#include "CommodityExport.h"

#include <algorithm>

#include <xlsxwriter.h>

#include "CommodityColumns.h"
#include "common/Text.h"
#include "common/TextCodec.h"
#include "sheets/CsvWriter.h"
#include "sheets/Workbook.h"

namespace korvan::CommodityExport {
namespace {

const Tr kFailed{"无法导出到该文件", "Could not export to the file"};

constexpr std::size_t kFields = CommodityRecord::kFieldCount;

// Column widths fitted to the longest text of each column at 96 dpi: an ASCII character takes
// about 7 pixels in the default font, a Chinese one about twice that; bold captions a bit more.
constexpr int kPadding = 14;
constexpr int kMaxColumnPixels = 255 * 7 + 5;

int textPixels(std::string_view utf8, bool bold) {
    int pixels = 0;
    for (unsigned char byte : utf8) {
        if (byte < 0x80)
            pixels += bold ? 8 : 7;
        else if ((byte & 0xC0) != 0x80)
            pixels += bold ? 15 : 13; // the first byte of a wide character
    }
    return pixels;
}

std::string fillWorkbook(lxw_workbook* book, const std::vector<std::vector<std::string>>& rows) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    if (!sheet)
        return "the worksheet cannot be added";
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    // Text cells, so a code like "0012" keeps its zeros also when the operator edits it.
    lxw_format* text = workbook_add_format(book);
    format_set_num_format(text, "@");
    format_set_num_format(header, "@");

    lxw_error error = LXW_NO_ERROR;
    std::array<int, kFields> widths{};
    for (std::size_t r = 0; r < rows.size() && error == LXW_NO_ERROR; ++r) {
        for (std::size_t c = 0; c < rows[r].size() && c < kFields; ++c) {
            const std::string cell = Workbook::cellText(rows[r][c]);
            const lxw_error written =
                worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                       cell.c_str(), r == 0 ? header : text);
            if (written != LXW_NO_ERROR)
                error = written;
            widths[c] = std::max(widths[c], textPixels(cell, r == 0));
        }
    }
    for (std::size_t c = 0; c < kFields; ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        worksheet_set_column_pixels(sheet, col, col,
                                    std::min(widths[c] + kPadding, kMaxColumnPixels), text);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    if (error != LXW_NO_ERROR)
        return std::string("the workbook cannot be written: ") + lxw_strerror(error);
    return {};
}

Result failed(const std::filesystem::path& file, std::string detail) {
    return {false, std::string(kFailed.get()) + ": " + file.string(), std::move(detail)};
}

} // namespace

Format formatOf(const std::filesystem::path& file) {
    return Text::asciiLower(file.extension().string()) == ".xlsx" ? Format::Xlsx : Format::Csv;
}

std::vector<std::vector<std::string>> table(const std::vector<CommodityRecord>& records,
                                            Lang lang) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(records.size() + 1);
    std::vector<std::string>& header = rows.emplace_back();
    for (const CommodityColumn& column : CommodityColumns::all())
        header.emplace_back(column.header.get(lang));
    for (const CommodityRecord& record : records) {
        std::vector<std::string>& row = rows.emplace_back();
        row.reserve(kFields);
        for (std::size_t i = 0; i < kFields; ++i)
            row.push_back(record.displayText(static_cast<CommodityField>(i), lang));
    }
    return rows;
}

std::string csv(const std::vector<CommodityRecord>& records, Lang lang) {
    return CsvWriter::write(table(records, lang));
}

Result write(const std::filesystem::path& file, const std::vector<CommodityRecord>& records,
             Lang lang) {
    if (formatOf(file) == Format::Csv) {
        if (const IoResult saved = RecordFile::writeAll(
                file, csv(records, lang), std::filesystem::perms(0644), RecordFile::MakeFolder::No);
            !saved)
            return {false, saved.message(), saved.message()};
        return {true, {}, {}};
    }
    const auto rows = table(records, lang);
    std::string detail =
        Workbook::write(file, [&rows](lxw_workbook* book) { return fillWorkbook(book, rows); });
    if (!detail.empty())
        return failed(file, std::move(detail));
    return {true, {}, {}};
}

} // namespace korvan::CommodityExport
