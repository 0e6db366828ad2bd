// The printed pages as data: where every text goes, how rows are spread over pages, and the foot
// of each page.
#include "records/PrintLayout.h"

#include "VectorRows.h"

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::VectorRows;
using Role = PrintText::Role;

TEST(PrintLayout, RowsFillPagesOf79AndEveryPageEndsWithItsFoot) {
    const struct {
        std::size_t rows, page, rowsOnPage;
        int separatorY, counterY;
        const char* counter;
        bool total;
    } cases[] = {
        {1, 1, 1, 480, 560, "Total1page   Is1page", true},
        {78, 1, 78, 6640, 6720, "Total1page   Is1page", true},
        {79, 1, 79, 6720, 6800, "Total2page   Is1page", false},
        // A full last page is followed by one that holds only the foot and the total.
        {79, 2, 0, 400, 480, "Total2page   Is2page", true},
        {157, 1, 79, 6720, 6800, "Total2page   Is1page", false},
        {157, 2, 78, 6640, 6720, "Total2page   Is2page", true},
        {158, 3, 0, 400, 480, "Total3page   Is3page", true},
    };
    const std::string separator(109, '-');
    const int columnX[] = {200, 950, 1500, 2000, 2300};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows, page " + std::to_string(c.page));
        const VectorRows rows = VectorRows::numbered(c.rows);
        const PrintLayout layout(rows, PrintCaptions::forLanguage(Lang::English), "12.50");
        const PrintPage page = layout.page(c.page);
        EXPECT_EQ(page.rowCount, c.rowsOnPage);

        // Every page repeats the heading, the column headings and a separator.
        std::vector<PrintText> expected = {{Role::Heading, 600, 100, "Record List"},
                                           {Role::ColumnHeading, 200, 240, "Transaction time"},
                                           {Role::ColumnHeading, 950, 240, "Commodity Name"},
                                           {Role::ColumnHeading, 1500, 240, "N.W/Q'TY"},
                                           {Role::ColumnHeading, 2000, 240, "Price"},
                                           {Role::ColumnHeading, 2300, 240, "Total"},
                                           {Role::Separator, 200, 320, separator}};
        // Then its rows, continuing where the page before ended; the numbered fields say which.
        for (std::size_t n = 0; n < c.rowsOnPage; ++n)
            for (std::size_t column = 0; column < 5; ++column)
                expected.push_back(
                    {Role::Field, columnX[column], 400 + 80 * static_cast<int>(n),
                     std::to_string((c.page - 1) * 79 + n) + "." + std::to_string(column)});
        expected.push_back({Role::Separator, 200, c.separatorY, separator});
        expected.push_back({Role::PageCounter, 600, c.counterY, c.counter});
        if (c.total) {
            expected.push_back({Role::TotalLabel, 1400, c.counterY, "Total amount="});
            expected.push_back({Role::Total, 1850, c.counterY, "12.50"});
        }
        EXPECT_EQ(page.texts, expected);
        // Only pages that exist are made.
        EXPECT_TRUE(layout.page(0).texts.empty());
        EXPECT_TRUE(layout.page(layout.pageCount() + 1).texts.empty());
    }
}

TEST(PrintLayout, FieldsAndCaptionsArePrintedAsReadableText) {
    // Fields are GBK bytes; a byte that is not GBK prints as a replacement mark rather than
    // losing the field.
    VectorRows rows = VectorRows::numbered(1);
    rows.set(0, 1, "\xc6\xbb\xb9\xfb");
    rows.set(0, 3, std::string("\xff") + "5");
    rows.set(0, 4, std::string(1 << 20, '\xff')); // cut: no line shows that much
    const PrintPage page = PrintLayout(rows, PrintCaptions::forLanguage(Lang::Chinese), "").page(1);
    ASSERT_EQ(page.texts.size(), 16u);
    const std::vector<std::string> texts = {page.texts[0].text, page.texts[3].text,
                                            page.texts[8].text, page.texts[10].text,
                                            page.texts[13].text};
    EXPECT_EQ(texts, (std::vector<std::string>{"记录列表", "重量/数量", "苹果", "\uFFFD5",
                                               "Total1page   Is1page"}));
    EXPECT_EQ(page.texts[11].text.size(), PrintLayout::kMaxFieldCharacters * 3); // U+FFFD each
}
