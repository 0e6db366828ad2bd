#include "PrintLayout.h"

#include <algorithm>
#include <cstdio>

#include "common/TextCodec.h"
#include "sheets/Workbook.h"
#include "records/SalesCaptions.h"

namespace korvan {

namespace {

// A field as printed: a field of any length costs no more than the text a page can show.
std::string printedField(std::string_view gbk) {
    return Workbook::cutFromGbk(gbk, PrintLayout::kMaxFieldCharacters);
}

} // namespace

PrintCaptions PrintCaptions::forLanguage(Lang lang) {
    return {SalesCaptions::kHeading.get(lang), SalesCaptions::columns(lang)};
}

PrintLayout::PrintLayout(const SalesRows& rows, PrintCaptions captions, std::string totalAmount)
    : rows_(rows), captions_(std::move(captions)), total_(std::move(totalAmount)) {}

std::size_t PrintLayout::pageCount(std::size_t rows) {
    return rows / kRowsPerPage + 1;
}

std::string PrintLayout::pageCounter(std::size_t pages, std::size_t number) {
    char text[64];
    std::snprintf(text, sizeof text, "Total%zupage   Is%zupage", pages, number);
    return text;
}

PrintPage PrintLayout::page(std::size_t number) const {
    PrintPage page;
    const std::size_t pages = pageCount();
    if (number < 1 || number > pages)
        return page;
    const std::size_t rowCount = rows_.size();
    page.number = number;
    page.firstRow = (number - 1) * kRowsPerPage;
    page.rowCount = page.firstRow < rowCount ? std::min(kRowsPerPage, rowCount - page.firstRow) : 0;

    using Role = PrintText::Role;
    const std::string separator(kSeparatorLength, '-');
    auto& texts = page.texts;
    texts.reserve(2 * SalesRows::kFields + page.rowCount * SalesRows::kFields + 6);
    texts.push_back({Role::Heading, kHeadingX, kHeadingY, captions_.heading});
    for (std::size_t c = 0; c < SalesRows::kFields; ++c)
        texts.push_back({Role::ColumnHeading, kColumnX[c], kColumnHeadingY, captions_.columns[c]});
    texts.push_back({Role::Separator, kSeparatorX, kTopSeparatorY, separator});

    int y = kFirstRowY;
    for (std::size_t r = page.firstRow; r < page.firstRow + page.rowCount; ++r, y += kRowPitch)
        for (std::size_t c = 0; c < SalesRows::kFields; ++c)
            // Printing is for reading: a byte that is not GBK prints as a replacement mark
            // rather than dropping the field. A field runs on, but not past the page's edge:
            // what no page can show is cut, so a field of any length costs a line's memory.
            texts.push_back({Role::Field, kColumnX[c], y, printedField(rows_.field(r, c))});

    texts.push_back({Role::Separator, kSeparatorX, y, separator});
    const int footY = y + kRowPitch;
    texts.push_back({Role::PageCounter, kCounterX, footY, pageCounter(pages, number)});
    if (number == pages) {
        texts.push_back({Role::TotalLabel, kTotalLabelX, footY, "Total amount="});
        texts.push_back({Role::Total, kTotalX, footY, total_});
    }
    return page;
}

std::vector<PrintPage> PrintLayout::pages() const {
    std::vector<PrintPage> all;
    const std::size_t count = pageCount();
    all.reserve(count);
    for (std::size_t number = 1; number <= count; ++number)
        all.push_back(page(number));
    return all;
}

} // namespace korvan
