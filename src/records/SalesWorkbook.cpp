#include "SalesWorkbook.h"

#include <algorithm>
#include <string_view>

#include <xlsxwriter.h>

#include "common/TextCodec.h"
#include "sheets/Workbook.h"

namespace korvan {
namespace {

constexpr const char* kCaptionFont = "仿宋_GB2312";
constexpr double kCaptionSize = 14;
constexpr double kCaptionRowHeight = 35; // points
constexpr double kRecordRowHeight = 18;  // points
// Margins in points at 0.035 cm a point (1 cm, 2.7 cm, 1.5 cm), given to the file in inches.
constexpr double kPointsPerInch = 72;
constexpr double kHeaderMargin = 1 / 0.035 / kPointsPerInch;
constexpr double kTopMargin = 2.7 / 0.035 / kPointsPerInch;
constexpr double kBottomMargin = 1.5 / 0.035 / kPointsPerInch;
constexpr const char* kCentreHeader = "&C&\"黑体,常规\"&24销售记录";

// Column widths are fitted to the longest text of each column, measured in GBK bytes: a Chinese
// character takes two, as it takes two cells of a text screen. Pixels per byte at 96 dpi: the
// default 11 point font for the records, the 14 point bold font for the captions, with a margin
// so no text is cut off; capped at the widest column a spreadsheet allows (255 characters).
constexpr int kAsciiPixels = 7;
constexpr int kWideBytePixels = 8;
constexpr int kCaptionBytePixels = 10;
constexpr int kPaddingPixels = 12;
constexpr int kMaxColumnPixels = 255 * 7 + 5;

int recordPixels(std::string_view gbk) {
    int pixels = 0;
    for (unsigned char byte : gbk)
        pixels += byte < 0x80 ? kAsciiPixels : kWideBytePixels;
    return pixels;
}

int captionPixels(const std::string& utf8) {
    const auto gbk = TextCodec::toGbk(utf8);
    return static_cast<int>(gbk ? gbk->size() : utf8.size()) * kCaptionBytePixels;
}

SalesWorkbook::Result failed(std::string detail) {
    return {false, std::move(detail)};
}

std::string describe(lxw_error error) {
    return std::string("the workbook cannot be written: ") + lxw_strerror(error);
}

std::string fill(lxw_workbook* book, const SalesRows& rows,
                 const std::array<std::string, SalesRows::kFields>& captions) {
    const std::size_t count = rows.size();
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);

    lxw_format* captionFormat = workbook_add_format(book);
    format_set_bold(captionFormat);
    format_set_font_name(captionFormat, kCaptionFont);
    format_set_font_size(captionFormat, kCaptionSize);
    lxw_format* recordFormat = workbook_add_format(book);
    for (lxw_format* format : {captionFormat, recordFormat}) {
        format_set_align(format, LXW_ALIGN_CENTER);
        format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
        format_set_border(format, LXW_BORDER_THIN);
    }

    lxw_error error = LXW_NO_ERROR;
    auto keep = [&error](lxw_error result) {
        if (error == LXW_NO_ERROR)
            error = result;
    };

    std::array<int, SalesRows::kFields> widths{};
    keep(worksheet_set_row(sheet, 0, kCaptionRowHeight, nullptr));
    for (std::size_t c = 0; c < SalesRows::kFields; ++c) {
        keep(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), captions[c].c_str(),
                                    captionFormat));
        widths[c] = captionPixels(captions[c]);
    }
    std::string text;
    for (std::size_t r = 0; r < count && error == LXW_NO_ERROR; ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        keep(worksheet_set_row(sheet, row, kRecordRowHeight, nullptr));
        for (std::size_t c = 0; c < SalesRows::kFields; ++c) {
            const std::string_view field = rows.field(r, c);
            // A leading "t" keeps the time a text where a spreadsheet would make it a date.
            const std::string_view prefix = c == 0 ? "t" : "";
            text = std::string(prefix) + Workbook::cutFromGbk(field);
            text = Workbook::cellText(std::move(text));
            keep(worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c), text.c_str(),
                                        recordFormat));
            widths[c] = std::max(widths[c], recordPixels(prefix) + recordPixels(field));
        }
    }
    for (std::size_t c = 0; c < SalesRows::kFields; ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        keep(worksheet_set_column_pixels(
            sheet, col, col, std::min(widths[c] + kPaddingPixels, kMaxColumnPixels), nullptr));
    }

    lxw_header_footer_options header{};
    header.margin = kHeaderMargin;
    keep(worksheet_set_header_opt(sheet, kCentreHeader, &header));
    worksheet_set_margins(sheet, -1, -1, kTopMargin, kBottomMargin); // left, right: defaults
    keep(worksheet_repeat_rows(sheet, 0, 0));
    keep(worksheet_repeat_columns(sheet, 0, 1));
    worksheet_set_portrait(sheet);
    // Row 1 and columns A and B stay in view while the records scroll.
    worksheet_set_selection(sheet, 1, 2, 1, 2);
    worksheet_freeze_panes(sheet, 1, 2);

    return error == LXW_NO_ERROR ? std::string() : describe(error);
}

} // namespace

SalesWorkbook::Result
SalesWorkbook::write(const std::filesystem::path& file, const SalesRows& rows,
                     const std::array<std::string, SalesRows::kFields>& captions) {
    const std::size_t count = rows.size();
    if (count > kMaxRows)
        return failed("a worksheet holds at most " + std::to_string(kMaxRows) + " records, not " +
                      std::to_string(count));

    std::string detail =
        Workbook::write(file, [&](lxw_workbook* book) { return fill(book, rows, captions); });
    if (!detail.empty())
        return failed(std::move(detail));
    return {true, {}};
}

Loaded<std::filesystem::path> SalesWorkbook::newTemporaryFile() {
    return Workbook::newTemporaryFile("korvan-records-");
}

} // namespace korvan
