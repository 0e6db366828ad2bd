#pragma once
// The printed pages of a sales record list, as data: every text with its position in device
// units (laid out for a printer of about 600 dpi; a full page reaches kFullPageBottom). A screen
// paints the pages on its printer scaled to the page it has, the command line into a file; both
// draw the same texts at the same places.
//
// Every text is drawn in one font: cell height kFontHeight device units (the line's full height,
// from the top of the text to the bottom), the platform's default face and weight. A text's
// point is its top left corner. Texts are not clipped: a long field runs on into the next column,
// up to kMaxFieldCharacters characters (the rest would lie past the page's edge).
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "common/Language.h"
#include "records/SalesRows.h"

namespace korvan {

struct PrintText {
    enum class Role { Heading, ColumnHeading, Separator, Field, PageCounter, TotalLabel, Total };

    Role role = Role::Field;
    int x = 0;        // device units from the left edge of the printable area
    int y = 0;        // device units from its top edge
    std::string text; // UTF-8

    bool operator==(const PrintText&) const = default;
};

struct PrintPage {
    std::size_t number = 0;   // 1 for the first page
    std::size_t firstRow = 0; // the list row printed first on this page
    std::size_t rowCount = 0; // rows on this page (none on the extra last page)
    std::vector<PrintText> texts;
};

// The heading and the five column headings as the list shows them (UTF-8).
struct PrintCaptions {
    std::string heading;
    std::array<std::string, SalesRows::kFields> columns;

    static PrintCaptions forLanguage(Lang lang);
};

class PrintLayout {
public:
    static constexpr std::size_t kRowsPerPage = 79;
    static constexpr int kFontHeight = 75;
    static constexpr int kHeadingX = 600;
    static constexpr int kHeadingY = 100;
    static constexpr std::array<int, SalesRows::kFields> kColumnX{200, 950, 1500, 2000, 2300};
    static constexpr int kColumnHeadingY = 240;
    static constexpr int kSeparatorX = 200;
    static constexpr int kTopSeparatorY = 320;
    static constexpr int kFirstRowY = 400;
    static constexpr int kRowPitch = 80;
    static constexpr int kCounterX = 600;
    static constexpr int kTotalLabelX = 1400;
    static constexpr int kTotalX = 1850;
    static constexpr std::size_t kSeparatorLength = 109;
    // More than a line of the page shows even in its narrowest characters (4800 units wide).
    static constexpr std::size_t kMaxFieldCharacters = 512;
    // The lowest text of a full page ends here: the page counter's line under 79 rows.
    static constexpr int kFullPageBottom =
        kFirstRowY + kRowPitch * (static_cast<int>(kRowsPerPage) + 1) + kFontHeight;

    // The layout reads `rows` when a page is made, so the rows must not change meanwhile.
    // `totalAmount` is the total as the screen shows it, printed on the last page.
    PrintLayout(const SalesRows& rows, PrintCaptions captions, std::string totalAmount);

    // The integer quotient of the rows by kRowsPerPage, plus one: a list of exactly 79 rows (or
    // any multiple) ends on a page that holds only its foot, the counter and the total. An empty
    // list still gives one page; callers refuse to print one.
    static std::size_t pageCount(std::size_t rows);
    std::size_t pageCount() const { return pageCount(rows_.size()); }

    // Page `number`, from 1 to pageCount(); an empty page for any other number.
    PrintPage page(std::size_t number) const;
    // Every page, in order.
    std::vector<PrintPage> pages() const;

    // "Total%dpage   Is%dpage", the same in both languages.
    static std::string pageCounter(std::size_t pages, std::size_t number);

private:
    const SalesRows& rows_;
    PrintCaptions captions_;
    std::string total_;
};

} // namespace korvan
