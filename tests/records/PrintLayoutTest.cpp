// The printed pages as data: where every text goes, how rows are spread over pages, and the foot
// of each page.
#include "records/PrintLayout.h"

#include "VectorRows.h"

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::VectorRows;
using Role = PrintText::Role;

namespace {

const std::string kSeparator(109, '-');

PrintCaptions englishCaptions() {
    return PrintCaptions::forLanguage(Lang::English);
}

std::vector<PrintText> withRole(const PrintPage& page, Role role) {
    std::vector<PrintText> texts;
    for (const PrintText& text : page.texts)
        if (text.role == role)
            texts.push_back(text);
    return texts;
}

} // namespace

TEST(PrintLayout, EveryPageEndsWithItsSeparatorCounterAndOnTheLastTheTotal) {
    struct Case {
        std::size_t rows;
        std::size_t page;
        std::size_t rowsOnPage;
        int separatorY;
        int counterY;
        const char* counter;
        bool total;
    };
    const Case cases[] = {
        {1, 1, 1, 480, 560, "Total1page   Is1page", true},
        {78, 1, 78, 6640, 6720, "Total1page   Is1page", true},
        {79, 1, 79, 6720, 6800, "Total2page   Is1page", false},
        // A full last page is followed by one that holds only the foot and the total.
        {79, 2, 0, 400, 480, "Total2page   Is2page", true},
        {157, 1, 79, 6720, 6800, "Total2page   Is1page", false},
        {157, 2, 78, 6640, 6720, "Total2page   Is2page", true},
        {158, 2, 79, 6720, 6800, "Total3page   Is2page", false},
        {158, 3, 0, 400, 480, "Total3page   Is3page", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows, page " + std::to_string(c.page));
        const VectorRows rows = VectorRows::numbered(c.rows);
        const PrintLayout layout(rows, englishCaptions(), "12.50");
        const PrintPage page = layout.page(c.page);
        EXPECT_EQ(page.number, c.page);
        EXPECT_EQ(page.rowCount, c.rowsOnPage);

        // The top of every page repeats the heading, the column headings and a separator.
        ASSERT_GE(page.texts.size(), 7u);
        EXPECT_EQ(page.texts[0], (PrintText{Role::Heading, 600, 100, "Record List"}));
        const std::vector<PrintText> headings = withRole(page, Role::ColumnHeading);
        EXPECT_EQ(headings,
                  (std::vector<PrintText>{{Role::ColumnHeading, 200, 240, "Transaction time"},
                                          {Role::ColumnHeading, 950, 240, "Commodity Name"},
                                          {Role::ColumnHeading, 1500, 240, "N.W/Q'TY"},
                                          {Role::ColumnHeading, 2000, 240, "Price"},
                                          {Role::ColumnHeading, 2300, 240, "Total"}}));
        EXPECT_EQ(withRole(page, Role::Separator),
                  (std::vector<PrintText>{{Role::Separator, 200, 320, kSeparator},
                                          {Role::Separator, 200, c.separatorY, kSeparator}}));
        EXPECT_EQ(withRole(page, Role::Field).size(), c.rowsOnPage * 5);

        std::vector<PrintText> foot = {{Role::PageCounter, 600, c.counterY, c.counter}};
        if (c.total) {
            foot.push_back({Role::TotalLabel, 1400, c.counterY, "Total amount="});
            foot.push_back({Role::Total, 1850, c.counterY, "12.50"});
        }
        const std::vector<PrintText> last(page.texts.end() - static_cast<long>(foot.size()),
                                          page.texts.end());
        EXPECT_EQ(last, foot);
        EXPECT_EQ(page.texts.size(), 1 + 5 + 2 + c.rowsOnPage * 5 + foot.size());
    }
}

TEST(PrintLayout, EveryRowIsPrintedOnceInOrderInItsColumns) {
    const std::size_t kRows = 2 * 79 + 30;
    const VectorRows rows = VectorRows::numbered(kRows);
    const PrintLayout layout(rows, englishCaptions(), "0.00");
    ASSERT_EQ(layout.pageCount(), 3u);
    const std::vector<PrintPage> pages = layout.pages();
    ASSERT_EQ(pages.size(), 3u);
    const int columnX[] = {200, 950, 1500, 2000, 2300};
    std::size_t next = 0;
    for (const PrintPage& page : pages) {
        EXPECT_EQ(page.firstRow, next);
        const std::vector<PrintText> fields = withRole(page, Role::Field);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::size_t n = i / 5, column = i % 5;
            EXPECT_EQ(fields[i].text, std::to_string(next + n) + "." + std::to_string(column));
            EXPECT_EQ(fields[i].x, columnX[column]);
            EXPECT_EQ(fields[i].y, 400 + 80 * static_cast<int>(n));
        }
        next += fields.size() / 5;
    }
    EXPECT_EQ(next, kRows);
    // Only pages that exist are made.
    EXPECT_TRUE(layout.page(0).texts.empty());
    EXPECT_TRUE(layout.page(4).texts.empty());
    // A full page's lowest text, the counter under 79 rows, ends where the layout says.
    EXPECT_EQ(PrintLayout::kFullPageBottom, 6800 + PrintLayout::kFontHeight);
}

TEST(PrintLayout, TextsArePrintedAsReadableCharacters) {
    // Fields are GBK bytes; the page carries UTF-8. A byte that is not GBK prints as a
    // replacement mark instead of losing the rest of the field.
    const VectorRows rows({{"2026-12-07 10:00", "\xc6\xbb\xb9\xfb", "1.250",
                            "\xff"
                            "5",
                            "6.25"}});
    const PrintLayout layout(rows, PrintCaptions::forLanguage(Lang::Chinese), "6.25");
    const PrintPage page = layout.page(1);
    const std::vector<PrintText> fields = withRole(page, Role::Field);
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[1].text, "苹果");
    EXPECT_EQ(fields[3].text, "\uFFFD5");
    EXPECT_EQ(page.texts[0].text, "记录列表");
    const std::vector<PrintText> headings = withRole(page, Role::ColumnHeading);
    ASSERT_EQ(headings.size(), 5u);
    EXPECT_EQ(headings[0].text, "交易时间");
    EXPECT_EQ(headings[2].text, "重量/数量");
    // The foot is the same in both languages.
    EXPECT_EQ(withRole(page, Role::PageCounter).at(0).text, "Total1page   Is1page");
    EXPECT_EQ(withRole(page, Role::TotalLabel).at(0).text, "Total amount=");
}
