// A summary taken away: the terminal table's columns, and the workbook's numbers and chart as a
// spreadsheet program reads them.
#include "records/SalesSummaryOutput.h"

#include "VectorRows.h"
#include "WorkbookDump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using namespace korvan::test;

namespace {

const VectorRows kSales({{"2026-12-07 08:10:00", "\xC6\xBB\xB9\xFB", "1.5", "2", "3.00"},
                         {"2026-12-07 09:00:00", "Pear", "2", "5", "10.00"},
                         {"2026-12-08 08:59:59", "Apple", "0.5", "2", "1.00"}});

SalesSummary byCommodity() {
    SalesSummary::Options options;
    options.by = SalesSummary::Grouping::Commodity;
    options.order = SalesSummary::Order::Amount;
    return SalesSummary::make(kSales, options);
}

// The chart's kind and the cells it reads, from the workbook's own XML.
std::string chartXml(const std::filesystem::path& file) {
    return runShell("/usr/bin/python3 -c \"import re,sys,zipfile; z=zipfile.ZipFile(sys.argv[1]); "
                    "x=''.join(z.read(n).decode() for n in z.namelist() if n.startswith("
                    "'xl/charts/chart')); print(' '.join(re.findall(r'<c:barChart>|<c:barDir "
                    "val=\\\"\\w+\\\"/>|<c:f>[^<]*</c:f>', x)))\" '" +
                    file.string() + "'")
        .second;
}

} // namespace

TEST(SalesSummaryOutput, TextColumnsLineUpWithWideCharacters) {
    // 苹果 takes four places, as "Pear" does.
    EXPECT_EQ(SalesSummaryOutput::text(byCommodity(), Lang::English),
              "Commodity Name  Sales  N.W/Q'TY  Amount   Share\n"
              "Pear                1     2.000   10.00   71.4%\n"
              "苹果                1     1.500    3.00   21.4%\n"
              "Apple               1     0.500    1.00    7.1%\n"
              "-----------------------------------------------\n"
              "Total               3     4.000   14.00  100.0%\n");
}

TEST(SalesSummaryOutput, WorkbookHoldsNumbersAndAChartASpreadsheetProgramKeeps) {
    TempDir dir;
    const auto file = dir / "summary.xlsx";
    const IoResult written = SalesSummaryOutput::write(file, byCommodity(), Lang::Chinese);
    ASSERT_TRUE(written) << written.detail;
    const auto values = dumpWorkbook(file);
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"cell.A3", "苹果"},
                                     {"cell.D2", "10"},
                                     {"type.D2", "n"},
                                     {"cell.A5", "合计"},
                                     {"cell.B5", "3"}})
        EXPECT_EQ(values.count(key) ? values.at(key) : "<missing>", value) << key;
    const std::string chart = "<c:barChart> <c:barDir val=\"col\"/> "
                              "<c:f>Sheet1!$A$2:$A$4</c:f> <c:f>Sheet1!$D$2:$D$4</c:f>\n";
    EXPECT_EQ(chartXml(file), chart);

    if (!runShell("command -v soffice >/dev/null 2>&1").first)
        GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    // The office saves again only the charts it understood.
    const std::string folder = dir.path().string();
    const auto [ok, output] =
        runShell("HOME='" + folder + "' soffice -env:UserInstallation=file://" + folder +
                 "/profile --headless --convert-to xlsx --outdir '" + folder + "/office' '" +
                 file.string() + "' 2>&1");
    ASSERT_TRUE(ok) << output;
    EXPECT_NE(chartXml(dir / "office" / "summary.xlsx").find("$A$2:$A$4"), std::string::npos);
}
