#pragma once
// Writing .xlsx workbooks the safe way: the workbook is written into a hidden scratch file beside
// the target, which then replaces the target in one step, so a failed or interrupted export never
// leaves half a workbook where the operator expects one. The scratch file is removed on failure,
// and by korvan-cli when it is told to stop. Callers add sheets and rows of cells; the library
// that writes the file stays behind this interface.
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/RecordFile.h"

namespace korvan::Workbook {

// The characters a cell can hold.
inline constexpr std::size_t kMaxCellCharacters = 32767;
// The rows a sheet can hold.
inline constexpr std::size_t kMaxRows = 1048576;

// How a cell looks. Cells of one style share one format in the file.
struct Style {
    bool bold = false;
    std::string font;         // the default font when empty
    double size = 0;          // points; 0 for the default size (11)
    bool centred = false;     // horizontally and vertically
    bool bordered = false;    // a thin line on each side
    bool text = false;        // formatted as text, so what the operator types later stays text
    std::string numberFormat; // how a number shows ("0.00", "0.0%"); the default when empty
    bool operator==(const Style&) const = default;
};

// A cell: a text (UTF-8, cut to the characters a cell holds) or a number.
using Cell = std::variant<std::string, double>;

// How a sheet prints. Margins are in inches; a negative one keeps the default.
struct PrintSetUp {
    std::string header; // header codes, e.g. "&Ctitle" for a centred title
    double headerMargin = -1;
    double topMargin = -1;
    double bottomMargin = -1;
    int titleRows = 0;    // the first rows, repeated on every page
    int titleColumns = 0; // the first columns, repeated on every page
    bool portrait = true;
    bool fitToWidth = false; // scaled so every column fits across one page
};

// A column chart drawn from cells of its own sheet: one bar per row of a range, the category
// (label) from one column and the value from another. Rows and columns count from 0.
struct BarChart {
    std::string title;  // UTF-8; none when empty
    std::string series; // the name of the values, UTF-8
    int firstRow = 0;   // the rows of the bars, both included
    int lastRow = 0;
    int categoryColumn = 0;
    int valueColumn = 1;
    int anchorRow = 0; // the cell at the chart's top left corner
    int anchorColumn = 0;
    double widthScale = 1; // times the default size (480 x 288 pixels)
    double heightScale = 1;
};

class Book;

// One worksheet, written row by row from the top (rows are flushed as they go, so memory stays
// flat however long the list is). Each column is fitted to its widest cell when the book is
// written.
class Sheet {
public:
    ~Sheet();
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    // Appends a row of cells, column A first, in `style`; `height` in points, 0 for the default.
    void addRow(std::span<const Cell> cells, const Style& style, double height = 0);
    // The same with a style per cell (as many as the cells).
    void addRow(std::span<const Cell> cells, std::span<const Style> styles, double height = 0);
    // The style of the columns' cells that hold nothing yet (what the operator types later).
    void setColumnStyle(const Style& style);
    // Keeps the first `rows` rows and `columns` columns in view while the rest scroll; the cursor
    // starts in the first cell that scrolls.
    void freeze(int rows, int columns);
    void setPrint(const PrintSetUp& print);
    // A chart over cells of this sheet; the cells may be written before or after it.
    void addBarChart(const BarChart& chart);

private:
    friend class Book;
    struct Parts;
    explicit Sheet(Book& book);
    void fitColumns();

    Book& book_;
    std::unique_ptr<Parts> parts_;
    std::vector<int> widths_; // pixels of the widest cell in each column
    std::size_t rows_ = 0;
};

// A workbook being written: its sheets, in order.
class Book {
public:
    ~Book();
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    Sheet& addSheet();

private:
    friend class Sheet;
    friend IoResult write(const std::filesystem::path&, const std::function<IoResult(Book&)>&);
    struct Parts;
    explicit Book(std::unique_ptr<Parts> parts);
    // Keeps the first failure of the library; later steps are skipped once one failed.
    void keep(int error);
    bool failed() const;
    void fitColumns();

    std::unique_ptr<Parts> parts_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
};

// Makes a workbook, lets `fill` add its sheets and rows, and puts it in `file`. `fill` returns
// what went wrong, if anything (the workbook is then dropped). A failure of the library is one
// detail, "the workbook cannot be written: " and its reason.
IoResult write(const std::filesystem::path& file, const std::function<IoResult(Book&)>& fill);

// A new empty file named `prefix`, six random characters and ".xlsx" in the temporary folder
// (TMPDIR), readable by the user alone.
Loaded<std::filesystem::path> newTemporaryFile(std::string_view prefix = "korvan-");

// The text a cell can hold: UTF-8 cut to the 32767 characters a cell allows.
std::string cellText(std::string text);
// UTF-8 cut to its first `maxCharacters` characters.
std::string cutText(std::string text, std::size_t maxCharacters);
// Code page 936 bytes as UTF-8, cut to `maxCharacters` characters (a cell's limit unless told).
// Only the bytes of the characters kept are converted (a character takes at most two), so a
// field of any length costs no more than the text kept.
std::string cutFromGbk(std::string_view gbk, std::size_t maxCharacters = kMaxCellCharacters);

} // namespace korvan::Workbook
