#include "SalesWorkbook.h"

#include <algorithm>

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

void fill(Workbook::Sheet& sheet, const SalesRows& rows,
          const std::array<std::string, SalesRows::kFields>& captions) {
    Workbook::Style recordStyle;
    recordStyle.centred = true;
    recordStyle.bordered = true;
    Workbook::Style captionStyle = recordStyle;
    captionStyle.bold = true;
    captionStyle.font = kCaptionFont;
    captionStyle.size = kCaptionSize;

    std::array<Workbook::Cell, SalesRows::kFields> cells;
    std::copy(captions.begin(), captions.end(), cells.begin());
    sheet.addRow(cells, captionStyle, kCaptionRowHeight);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < SalesRows::kFields; ++c)
            cells[c] = Workbook::cutFromGbk(rows.field(r, c));
        // A leading "t" keeps the time a text where a spreadsheet would make it a date.
        std::get<std::string>(cells[0]).insert(0, "t");
        sheet.addRow(cells, recordStyle, kRecordRowHeight);
    }

    Workbook::PrintSetUp print;
    print.header = kCentreHeader;
    print.headerMargin = kHeaderMargin;
    print.topMargin = kTopMargin;
    print.bottomMargin = kBottomMargin;
    print.titleRows = 1;
    print.titleColumns = 2;
    sheet.setPrint(print);
    // Row 1 and columns A and B stay in view while the records scroll.
    sheet.freeze(1, 2);
}

} // namespace

IoResult SalesWorkbook::write(const std::filesystem::path& file, const SalesRows& rows,
                              const std::array<std::string, SalesRows::kFields>& captions) {
    const std::size_t count = rows.size();
    if (count > kMaxRows)
        return IoResult::failed("a worksheet holds at most " + std::to_string(kMaxRows) +
                                " records, not " + std::to_string(count))
            .toldAs(kFailureMessage);
    return Workbook::write(file,
                           [&](Workbook::Book& book) {
                               fill(book.addSheet(), rows, captions);
                               return IoResult{};
                           })
        .toldAs(kFailureMessage);
}

Loaded<std::filesystem::path> SalesWorkbook::newTemporaryFile() {
    return Workbook::newTemporaryFile("korvan-records-");
}

} // namespace korvan
