#include "SalesSummaryOutput.h"

#include <algorithm>
#include <array>

#include "SalesSummaryRows.h"
#include "common/Text.h"
#include "sheets/CsvWriter.h"
#include "sheets/Workbook.h"

namespace korvan::SalesSummaryOutput {
namespace {

constexpr std::size_t kColumns = 5;
constexpr Tr kFailed{"无法导出汇总", "The summary could not be exported"};
constexpr Tr kChartTitle{"销售汇总", "Sales summary"};
// The chart grows with the number of bars, up to about a year of days side by side.
constexpr double kBarsPerWidth = 24;
constexpr double kMaxWidthScale = 4;

std::vector<std::string> captions(const SalesSummary& summary, Lang lang) {
    const auto texts = SalesSummaryRows::captions(summary, lang);
    return {texts.begin(), texts.end()};
}

std::vector<std::string> figures(std::string label, const SalesSummary::Group& group) {
    return {std::move(label), std::to_string(group.count),
            SalesSummary::quantityText(group.quantity), SalesSummary::amountText(group.amount),
            SalesSummary::shareText(group.share)};
}

// Places a terminal gives UTF-8 text: two for a character outside ASCII (Chinese is wide).
std::size_t places(std::string_view utf8) {
    std::size_t width = 0;
    for (unsigned char byte : utf8)
        if (byte < 0x80)
            ++width;
        else if ((byte & 0xC0) != 0x80)
            width += 2;
    return width;
}

void fillWorkbook(Workbook::Book& book, const SalesSummary& summary, Lang lang) {
    Workbook::Sheet& sheet = book.addSheet();
    // The figures keep their full value; they show as the text tables print them.
    std::array<Workbook::Style, kColumns> body;
    for (Workbook::Style& style : body)
        style.bordered = true;
    body[2].numberFormat = "0.000";
    body[3].numberFormat = "0.00";
    body[4].numberFormat = "0.0%";
    std::array<Workbook::Style, kColumns> bold = body;
    for (Workbook::Style& style : bold)
        style.bold = true;

    const auto header = captions(summary, lang);
    std::vector<Workbook::Cell> cells(header.begin(), header.end());
    sheet.addRow(cells, bold[0]);
    auto addGroup = [&](std::string label, const SalesSummary::Group& group,
                        const std::array<Workbook::Style, kColumns>& styles) {
        cells = {Workbook::cellText(std::move(label)), static_cast<double>(group.count),
                 group.quantity, group.amount, group.share};
        sheet.addRow(cells, styles);
    };
    for (const auto& group : summary.groups())
        addGroup(summary.label(group, lang), group, body);
    addGroup(SalesSummary::kTotal.get(lang), summary.total(), bold);
    sheet.freeze(1, 1);
    Workbook::PrintSetUp print;
    print.portrait = false;
    print.fitToWidth = true; // the table and its chart on one page across
    print.titleRows = 1;
    sheet.setPrint(print);

    const std::size_t bars = summary.groups().size();
    if (bars == 0)
        return;
    Workbook::BarChart chart;
    chart.title = kChartTitle.get(lang) + std::string(" - ") +
                  SalesSummary::groupingName(summary.grouping()).get(lang);
    chart.series = SalesSummary::kAmount.get(lang);
    chart.firstRow = 1;
    chart.lastRow = static_cast<int>(bars);
    chart.categoryColumn = 0;
    chart.valueColumn = 3;
    chart.anchorRow = 1;
    chart.anchorColumn = static_cast<int>(kColumns) + 1;
    chart.widthScale = std::clamp(static_cast<double>(bars) / kBarsPerWidth, 1.5, kMaxWidthScale);
    chart.heightScale = 1.5;
    sheet.addBarChart(chart);
}

} // namespace

std::vector<std::vector<std::string>> table(const SalesSummary& summary, Lang lang) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(summary.groups().size() + 2);
    rows.push_back(captions(summary, lang));
    for (const auto& group : summary.groups())
        rows.push_back(figures(summary.label(group, lang), group));
    rows.push_back(figures(SalesSummary::kTotal.get(lang), summary.total()));
    return rows;
}

std::string text(const SalesSummary& summary, Lang lang) {
    const auto rows = table(summary, lang);
    std::vector<std::size_t> widths(kColumns, 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], places(row[c]));
    std::string out;
    auto addRow = [&](const std::vector<std::string>& row) {
        for (std::size_t c = 0; c < kColumns; ++c) {
            const std::string pad(widths[c] - places(row[c]), ' ');
            if (c > 0)
                out += "  ";
            out += c == 0 ? row[c] + (c + 1 < kColumns ? pad : "") : pad + row[c];
        }
        out += '\n';
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r + 1 == rows.size()) {
            std::size_t line = 2 * (kColumns - 1);
            for (std::size_t width : widths)
                line += width;
            out += std::string(line, '-') + '\n';
        }
        addRow(rows[r]);
    }
    return out;
}

IoResult write(const std::filesystem::path& file, const SalesSummary& summary, Lang lang) {
    if (Text::asciiLower(file.extension().string()) != ".xlsx")
        return RecordFile::writeAll(file, CsvWriter::write(table(summary, lang)),
                                    std::filesystem::perms(0644), RecordFile::MakeFolder::No)
            .toldAs(kFailed);
    return Workbook::write(file,
                           [&](Workbook::Book& book) {
                               fillWorkbook(book, summary, lang);
                               return IoResult{};
                           })
        .toldAs(kFailed);
}

} // namespace korvan::SalesSummaryOutput
