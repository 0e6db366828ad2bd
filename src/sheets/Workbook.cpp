#include "Workbook.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>

#include <xlsxwriter.h>

#include "common/ScratchFiles.h"
#include "common/TextCodec.h"
#include "common/UniqueFd.h"

namespace korvan::Workbook {
namespace {

// Removes the scratch file however the export ends, unless it was put in place.
class ScratchFile {
public:
    explicit ScratchFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~ScratchFile() {
        if (path_.empty())
            return;
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        ScratchFiles::remove(path_.string());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& path() const { return path_; }
    void release() { path_.clear(); }

private:
    std::filesystem::path path_;
};

// Column widths fit the widest cell at 96 dpi: an ASCII character of the default 11 point font
// takes about 7 pixels, any other character (Chinese) twice that; a bold font takes an eighth
// more, a larger one more in proportion. A margin keeps any text from being cut off; a column is
// at most as wide as a spreadsheet allows (255 characters).
constexpr double kAsciiPixels = 7;
constexpr double kDefaultSize = 11;
constexpr int kPaddingPixels = 12;
constexpr int kMaxColumnPixels = 255 * 7 + 5;

int textPixels(std::string_view utf8, const Style& style) {
    int units = 0;
    for (unsigned char byte : utf8)
        if (byte < 0x80)
            units += 1;
        else if ((byte & 0xC0) != 0x80)
            units += 2; // the first byte of a wide character
    const double size = style.size > 0 ? style.size : kDefaultSize;
    return static_cast<int>(units * kAsciiPixels * size / kDefaultSize *
                            (style.bold ? 8.0 / 7 : 1));
}

// A number as a spreadsheet shows it: in its shortest form, or as a plain fixed format of zeros
// ("0.00", "0.0%") gives it.
std::string numberText(double value, const std::string& format) {
    char buffer[400];
    std::to_chars_result made;
    const bool percent = format.find('%') != std::string::npos;
    if (format.empty()) {
        made = std::to_chars(buffer, buffer + sizeof buffer, value);
    } else {
        const std::size_t point = format.find('.');
        std::size_t end = point;
        if (point != std::string::npos)
            end = std::min(format.find_first_not_of('0', point + 1), format.size());
        const int decimals = static_cast<int>(point == std::string::npos ? 0 : end - point - 1);
        made = std::to_chars(buffer, buffer + sizeof buffer, percent ? value * 100 : value,
                             std::chars_format::fixed, decimals);
    }
    if (made.ec != std::errc())
        return {};
    return std::string(buffer, made.ptr) + (percent ? "%" : "");
}

} // namespace

struct Book::Parts {
    lxw_workbook* book = nullptr;
    lxw_error error = LXW_NO_ERROR;
    std::vector<std::pair<Style, lxw_format*>> formats;

    lxw_format* format(const Style& style) {
        for (const auto& [known, format] : formats)
            if (known == style)
                return format;
        lxw_format* made = workbook_add_format(book);
        if (style.bold)
            format_set_bold(made);
        if (!style.font.empty())
            format_set_font_name(made, style.font.c_str());
        if (style.size > 0)
            format_set_font_size(made, style.size);
        if (style.centred) {
            format_set_align(made, LXW_ALIGN_CENTER);
            format_set_align(made, LXW_ALIGN_VERTICAL_CENTER);
        }
        if (style.bordered)
            format_set_border(made, LXW_BORDER_THIN);
        if (style.text)
            format_set_num_format(made, "@");
        else if (!style.numberFormat.empty())
            format_set_num_format(made, style.numberFormat.c_str());
        formats.emplace_back(style, made);
        return made;
    }
};

struct Sheet::Parts {
    lxw_worksheet* sheet = nullptr;
    lxw_format* columnFormat = nullptr;
};

Book::Book(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
Book::~Book() = default;

void Book::keep(int error) {
    if (parts_->error == LXW_NO_ERROR)
        parts_->error = static_cast<lxw_error>(error);
}

bool Book::failed() const {
    return parts_->error != LXW_NO_ERROR;
}

void Book::fitColumns() {
    for (const auto& sheet : sheets_)
        sheet->fitColumns();
}

Sheet& Book::addSheet() {
    sheets_.push_back(std::unique_ptr<Sheet>(new Sheet(*this)));
    Sheet& sheet = *sheets_.back();
    sheet.parts_->sheet = workbook_add_worksheet(parts_->book, nullptr);
    if (!sheet.parts_->sheet)
        keep(LXW_ERROR_MEMORY_MALLOC_FAILED);
    return sheet;
}

Sheet::Sheet(Book& book) : book_(book), parts_(std::make_unique<Parts>()) {}
Sheet::~Sheet() = default;

void Sheet::addRow(std::span<const Cell> cells, const Style& style, double height) {
    const std::vector<Style> styles(cells.size(), style);
    addRow(cells, styles, height);
}

void Sheet::addRow(std::span<const Cell> cells, std::span<const Style> styles, double height) {
    if (book_.failed())
        return;
    lxw_worksheet* sheet = parts_->sheet;
    const auto row = static_cast<lxw_row_t>(rows_++);
    if (height > 0)
        book_.keep(worksheet_set_row(sheet, row, height, nullptr));
    if (widths_.size() < cells.size())
        widths_.resize(cells.size());
    std::string text;
    for (std::size_t c = 0; c < cells.size() && c < styles.size(); ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        lxw_format* format = book_.parts_->format(styles[c]);
        if (const auto* number = std::get_if<double>(&cells[c])) {
            book_.keep(worksheet_write_number(sheet, row, col, *number, format));
            text = numberText(*number, styles[c].numberFormat);
        } else {
            text = cellText(std::get<std::string>(cells[c]));
            book_.keep(worksheet_write_string(sheet, row, col, text.c_str(), format));
        }
        widths_[c] = std::max(widths_[c], textPixels(text, styles[c]));
    }
}

void Sheet::setColumnStyle(const Style& style) {
    parts_->columnFormat = book_.parts_->format(style);
}

void Sheet::freeze(int rows, int columns) {
    worksheet_set_selection(parts_->sheet, static_cast<lxw_row_t>(rows),
                            static_cast<lxw_col_t>(columns), static_cast<lxw_row_t>(rows),
                            static_cast<lxw_col_t>(columns));
    worksheet_freeze_panes(parts_->sheet, static_cast<lxw_row_t>(rows),
                           static_cast<lxw_col_t>(columns));
}

void Sheet::setPrint(const PrintSetUp& print) {
    lxw_worksheet* sheet = parts_->sheet;
    if (!print.header.empty()) {
        lxw_header_footer_options options{};
        options.margin = print.headerMargin;
        book_.keep(worksheet_set_header_opt(sheet, print.header.c_str(), &options));
    }
    worksheet_set_margins(sheet, -1, -1, print.topMargin, print.bottomMargin);
    if (print.titleRows > 0)
        book_.keep(worksheet_repeat_rows(sheet, 0, static_cast<lxw_row_t>(print.titleRows - 1)));
    if (print.titleColumns > 0)
        book_.keep(
            worksheet_repeat_columns(sheet, 0, static_cast<lxw_col_t>(print.titleColumns - 1)));
    if (print.fitToWidth)
        worksheet_fit_to_pages(sheet, 1, 0);
    if (print.portrait)
        worksheet_set_portrait(sheet);
    else
        worksheet_set_landscape(sheet);
}

void Sheet::addBarChart(const BarChart& chart) {
    if (book_.failed())
        return;
    lxw_chart* made = workbook_add_chart(book_.parts_->book, LXW_CHART_COLUMN);
    if (!made) {
        book_.keep(LXW_ERROR_MEMORY_MALLOC_FAILED);
        return;
    }
    lxw_chart_series* series = chart_add_series(made, nullptr, nullptr);
    if (!series) {
        book_.keep(LXW_ERROR_MEMORY_MALLOC_FAILED);
        return;
    }
    const char* sheetName = parts_->sheet->name;
    const auto first = static_cast<lxw_row_t>(chart.firstRow);
    const auto last = static_cast<lxw_row_t>(chart.lastRow);
    const auto category = static_cast<lxw_col_t>(chart.categoryColumn);
    const auto value = static_cast<lxw_col_t>(chart.valueColumn);
    chart_series_set_categories(series, sheetName, first, category, last, category);
    chart_series_set_values(series, sheetName, first, value, last, value);
    if (!chart.series.empty())
        chart_series_set_name(series, chart.series.c_str());
    if (!chart.title.empty())
        chart_title_set_name(made, chart.title.c_str());
    // One series: its name is the value axis's title, not a legend of one entry.
    chart_legend_set_position(made, LXW_CHART_LEGEND_NONE);
    if (!chart.series.empty())
        chart_axis_set_name(made->y_axis, chart.series.c_str());

    lxw_chart_options options{};
    options.x_scale = chart.widthScale;
    options.y_scale = chart.heightScale;
    book_.keep(worksheet_insert_chart_opt(parts_->sheet, static_cast<lxw_row_t>(chart.anchorRow),
                                          static_cast<lxw_col_t>(chart.anchorColumn), made,
                                          &options));
}

void Sheet::fitColumns() {
    for (std::size_t c = 0; c < widths_.size(); ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        book_.keep(worksheet_set_column_pixels(
            parts_->sheet, col, col, std::min(widths_[c] + kPaddingPixels, kMaxColumnPixels),
            parts_->columnFormat));
    }
}

IoResult write(const std::filesystem::path& file, const std::function<IoResult(Book&)>& fill) {
    // Written beside the target (hidden), so it replaces the target by a rename and never
    // crosses file systems; a missing folder is refused here, not made.
    const Loaded<std::filesystem::path> scratchPath = RecordFile::temporaryBeside(file);
    if (!scratchPath)
        return scratchPath.result;
    ScratchFile scratch(scratchPath.value);
    std::error_code ec;
    std::string tmpdir = std::filesystem::temp_directory_path(ec).string();

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    auto parts = std::make_unique<Book::Parts>();
    parts->book = workbook_new_opt(scratch.path().c_str(), &options);
    if (!parts->book)
        return IoResult::failed("the workbook cannot be created");
    Book book(std::move(parts));
    IoResult filled = fill(book);
    book.fitColumns();
    // Closing writes the file and frees the workbook, also after a failed step.
    book.keep(workbook_close(book.parts_->book));
    if (!filled)
        return filled;
    if (book.failed())
        return IoResult::failed(std::string("the workbook cannot be written: ") +
                                lxw_strerror(book.parts_->error));

    const std::filesystem::path written = scratch.path();
    scratch.release(); // replaceWith puts it in place or removes it
    return RecordFile::replaceWith(file, written);
}

Loaded<std::filesystem::path> newTemporaryFile(std::string_view prefix) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec)
        return {{}, IoResult::fileFailure("/tmp", ec.value())};
    const std::filesystem::path pattern = folder / (std::string(prefix) + "XXXXXX.xlsx");
    std::string name = pattern.string();
    UniqueFd fd(::mkstemps(name.data(), 5));
    if (!fd)
        return {{}, IoResult::fileFailure(pattern, errno)};
    return {std::filesystem::path(name), {}};
}

std::string cellText(std::string text) {
    return cutText(std::move(text), kMaxCellCharacters);
}

std::string cutFromGbk(std::string_view gbk, std::size_t maxCharacters) {
    return cutText(TextCodec::toUtf8Lossy(gbk.substr(0, 2 * maxCharacters)), maxCharacters);
}

std::string cutText(std::string text, std::size_t maxCharacters) {
    if (text.size() <= maxCharacters)
        return text;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > maxCharacters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

} // namespace korvan::Workbook
