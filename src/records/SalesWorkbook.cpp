#include "SalesWorkbook.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include <xlsxwriter.h>

#include "common/TextCodec.h"
#include "common/UniqueFd.h"

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
// A cell holds at most this many characters.
constexpr std::size_t kMaxCellCharacters = 32767;

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

// The text of a cell: UTF-8 (a byte that is not GBK becomes a replacement mark), cut to what a
// cell can hold.
std::string cellText(std::string_view prefix, std::string_view gbk) {
    std::string text(prefix);
    text += TextCodec::toUtf8Lossy(gbk);
    if (text.size() <= kMaxCellCharacters)
        return text;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 &&
            ++characters > kMaxCellCharacters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

// Removes the scratch file the workbook is first written to, however the export ends.
class ScratchFile {
public:
    explicit ScratchFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

SalesWorkbook::Result failed(std::string detail) {
    return {false, std::move(detail)};
}

std::string describe(lxw_error error) {
    return std::string("the workbook cannot be written: ") + lxw_strerror(error);
}

} // namespace

SalesWorkbook::Result
SalesWorkbook::write(const std::filesystem::path& file, const SalesRows& rows,
                     const std::array<std::string, SalesRows::kFields>& captions) {
    const std::size_t count = rows.size();
    if (count > kMaxRows)
        return failed("a worksheet holds at most " + std::to_string(kMaxRows) + " records, not " +
                      std::to_string(count));

    // The library writes to a file name of its own choosing; the workbook goes there first and
    // then replaces `file` in one step, so a failed export never leaves half a workbook behind.
    const Loaded<std::filesystem::path> scratchPath = newTemporaryFile();
    if (!scratchPath)
        return failed(scratchPath.result.message());
    const ScratchFile scratch(scratchPath.value);
    std::string tmpdir = scratch.path().parent_path().string();

    // Rows are written in order and flushed as they go, so memory stays flat however long the
    // list is.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    lxw_workbook* book = workbook_new_opt(scratch.path().c_str(), &options);
    if (!book)
        return failed("the workbook cannot be created");
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
            text = cellText(prefix, field);
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

    // Closing writes the file and frees the workbook, also after a failed step.
    const lxw_error closed = workbook_close(book);
    if (error != LXW_NO_ERROR)
        return failed(describe(error));
    if (closed != LXW_NO_ERROR)
        return failed(describe(closed));

    const Loaded<std::string> bytes = RecordFile::readAll(scratch.path());
    if (!bytes)
        return failed(bytes.result.message());
    if (const IoResult saved = RecordFile::writeAll(file, bytes.value); !saved)
        return failed(saved.message());
    return {true, {}};
}

Loaded<std::filesystem::path> SalesWorkbook::newTemporaryFile() {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec)
        return {{}, IoResult::fileFailure("/tmp", ec.value())};
    std::string name = (folder / "korvan-records-XXXXXX.xlsx").string();
    UniqueFd fd(::mkstemps(name.data(), 5));
    if (!fd)
        return {{}, IoResult::fileFailure(folder / "korvan-records-XXXXXX.xlsx", errno)};
    return {std::filesystem::path(name), {}};
}

} // namespace korvan
