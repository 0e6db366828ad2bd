// The exported workbook as a spreadsheet program reads it: the file is opened with openpyxl
// (through workbook_dump.py) and, once, converted by LibreOffice.
#include "records/SalesCaptions.h"
#include "records/SalesWorkbook.h"

#include "VectorRows.h"
#include "WorkbookDump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace korvan;
using namespace korvan::test;

namespace {

const auto kEnglishCaptions = SalesCaptions::columns(Lang::English);

// The second name is the longest text of its column; the third row holds what XML cannot carry
// as it is (markup, a control character) and a byte that is not GBK.
const VectorRows kSales({{"2026-12-07 10:00:01", "\xc6\xbb\xb9\xfb", "1.250", "5.00", "6.25"},
                         {"2026-12-07 10:05:00", "Pears from the far orchard", "", "3.00", "0"},
                         {"2026-12-07 10:06:00", "a<b>&\"c\"", "\3771", "x\x01y", " 2 "}});

void setTmpdir(const std::filesystem::path& folder) {
    ::setenv("TMPDIR", folder.c_str(), 1);
}

} // namespace

TEST(SalesWorkbook, CellsStylesPageSetUpAndWindowAreWhatASpreadsheetReads) {
    TempDir dir;
    const auto written = SalesWorkbook::write(dir / "out.xlsx", kSales, kEnglishCaptions);
    ASSERT_TRUE(written) << written.detail;
    const auto values = dumpWorkbook(dir / "out.xlsx");
    // A leading "t" keeps the time a text; numbers stay the texts the scale sent.
    const std::string expected =
        "sheets=1;rows=4;columns=5;cell.A1=Transaction time;cell.C1=N.W/Q'TY;cell.E1=Total;"
        "cell.A2=t2026-12-07 10:00:01;cell.B2=苹果;cell.E2=6.25;type.E2=s;cell.C3=;"
        "cell.B4=a<b>&\"c\";cell.C4=\uFFFD1;cell.E4= 2 ;font.A1=仿宋_GB2312|14|bold;"
        "font.E1=仿宋_GB2312|14|bold;font.B2=Calibri|11|normal;height.1=35.0;height.2=18.0;"
        "height.4=18.0;header.text=销售记录;header.font=黑体,常规;header.size=24;"
        "title.rows=$1:$1;title.columns=$A:$B;orientation=portrait;freeze=C2;selection=C2";
    for (std::size_t at = 0, end; at < expected.size(); at = end + 1) {
        end = std::min(expected.find(';', at), expected.size());
        const std::string line = expected.substr(at, end - at);
        const std::string key = line.substr(0, line.find('='));
        EXPECT_EQ(key + "=" + (values.count(key) ? values.at(key) : "<missing>"), line);
    }
    // Every cell, the empty one too, is centred both ways and has thin borders.
    for (const std::string column : {"A", "B", "C", "D", "E"})
        for (const std::string row : {"1", "2", "3", "4"}) {
            EXPECT_EQ(values.at("align." + column + row), "center|center") << column + row;
            EXPECT_EQ(values.at("border." + column + row), "thin|thin|thin|thin") << column + row;
        }
    // Margins in points (1 cm, 2.7 cm, 1.5 cm at 0.035 cm a point); the file holds inches.
    EXPECT_NEAR(std::stod(values.at("margin.header")) * 72, 28.57142857142857, 1e-9);
    EXPECT_NEAR(std::stod(values.at("margin.top")) * 72, 77.14285714285714, 1e-9);
    EXPECT_NEAR(std::stod(values.at("margin.bottom")) * 72, 42.857142857142854, 1e-9);
    // Widths, in characters of the default font, fit the longest text: "t" and the time in A,
    // the pears in B, and in C to E the 14 point captions (about 1.3 characters each).
    const std::pair<const char*, double> longest[] = {
        {"A", 20}, {"B", 26}, {"C", 8 * 14.0 / 11}, {"D", 5 * 14.0 / 11}, {"E", 5 * 14.0 / 11}};
    for (const auto& [column, characters] : longest) {
        const double width = std::stod(values.at(std::string("width.") + column));
        EXPECT_GE(width, characters) << column;
        EXPECT_LE(width, characters * 1.25 + 3) << column;
    }
}

TEST(SalesWorkbook, AWorkbookThatCannotBeWrittenFailsWithTheOperatorsMessage) {
    TempDir dir;
    writeBytes(dir / "plain-file", "x");
    writeBytes(dir / "kept.xlsx", "old workbook");
    std::filesystem::create_directory(dir / "a-folder.xlsx");
    // Rows that are only counted: too many are refused before any is read.
    struct ManyRows : SalesRows {
        std::size_t count = 1;
        std::size_t size() const override { return count; }
        std::string_view field(std::size_t, std::size_t) const override { return "1"; }
    } rows;
    const struct {
        std::filesystem::path file, tmpdir;
        std::size_t rows;
    } cases[] = {
        {dir / "plain-file/out.xlsx", dir.path(), 1}, // the folder is a file
        {dir / "a-folder.xlsx", dir.path(), 1},
        {dir / "missing/out.xlsx", dir.path(), 1}, // an export makes no folder
        {dir / "kept.xlsx", dir.path(), SalesWorkbook::kMaxRows + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.string() + " " + std::to_string(c.rows));
        setTmpdir(c.tmpdir);
        rows.count = c.rows;
        const auto written = SalesWorkbook::write(c.file, rows, kEnglishCaptions);
        EXPECT_FALSE(written);
        EXPECT_EQ(written.message(), "Unable to build Excel 2003 server");
        EXPECT_FALSE(written.detail.empty());
        EXPECT_EQ(readBytes(dir / "kept.xlsx"), "old workbook");
        EXPECT_TRUE(std::filesystem::is_directory(dir / "a-folder.xlsx"));
    }
    ::unsetenv("TMPDIR");
    // No scratch file is left behind, and no folder was made.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

TEST(SalesWorkbook, ANewTemporaryWorkbookOpensInLibreOffice) {
    // The screen writes into a new private file of the temporary folder and hands it over.
    TempDir dir;
    setTmpdir(dir.path());
    const auto first = SalesWorkbook::newTemporaryFile();
    const auto second = SalesWorkbook::newTemporaryFile();
    ::unsetenv("TMPDIR");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.value, second.value);
    struct stat status {};
    ASSERT_EQ(::stat(first.value.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(first.value.parent_path(), dir.path());
    EXPECT_EQ(first.value.extension(), ".xlsx");
    const VectorRows rows({{"2026-12-07 10:00:01", "\xc6\xbb\xb9\xfb", "1.250", "5.00", "6.25"},
                           {"2026-12-07 10:05:00", "Pears", "", "3.00", "0"}});
    ASSERT_TRUE(SalesWorkbook::write(first.value, rows, kEnglishCaptions));

    if (!runShell("command -v soffice >/dev/null 2>&1").first)
        GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    // A profile of its own, so a running office does not take the conversion over.
    const std::string folder = dir.path().string();
    const auto [ok, output] = runShell(
        "HOME='" + folder + "' soffice -env:UserInstallation=file://" + folder +
        "/profile --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" +
        folder + "' '" + first.value.string() + "' 2>&1");
    ASSERT_TRUE(ok) << output;
    EXPECT_EQ(readBytes(std::filesystem::path(first.value).replace_extension(".csv")),
              "Transaction time,Commodity Name,N.W/Q'TY,Price,Total\n"
              "t2026-12-07 10:00:01,苹果,1.250,5.00,6.25\n"
              "t2026-12-07 10:05:00,Pears,,3.00,0\n");
}
