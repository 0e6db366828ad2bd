// The exported workbook as a spreadsheet program reads it: the file is opened with openpyxl
// (through workbook_dump.py) and, once, converted by LibreOffice.
#include "records/SalesCaptions.h"
#include "records/SalesWorkbook.h"

#include "VectorRows.h"
#include "WorkbookDump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::dumpWorkbook;
using korvan::test::readBytes;
using korvan::test::runShell;
using korvan::test::TempDir;
using korvan::test::VectorRows;
using korvan::test::writeBytes;

namespace {

double number(const std::map<std::string, std::string>& values, const std::string& key) {
    const auto found = values.find(key);
    return found == values.end() ? -1 : std::atof(found->second.c_str());
}

const std::string kApple = "\xc6\xbb\xb9\xfb"; // 苹果 in GBK

VectorRows twoSales() {
    return VectorRows({{"2026-12-07 10:00:01", kApple, "1.250", "5.00", "6.25"},
                       {"2026-12-07 10:05:00", "Pears from the far orchard", "", "3.00", "0"}});
}

class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvironmentVariable() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(SalesWorkbook, CellsStylesPageSetUpAndWindowAreWhatASpreadsheetReads) {
    TempDir dir;
    const auto file = dir / "records.xlsx";
    const VectorRows rows = twoSales();
    const auto written = SalesWorkbook::write(file, rows, SalesCaptions::columns(Lang::English));
    ASSERT_TRUE(written) << written.detail;
    const auto values = dumpWorkbook(file);

    const std::map<std::string, std::string> expected = {
        {"sheets", "1"},
        {"rows", "3"},
        {"columns", "5"},
        {"cell.A1", "Transaction time"},
        {"cell.B1", "Commodity Name"},
        {"cell.C1", "N.W/Q'TY"},
        {"cell.D1", "Price"},
        {"cell.E1", "Total"},
        // The time gets a leading "t" so it stays a text, not a date.
        {"cell.A2", "t2026-12-07 10:00:01"},
        {"cell.B2", "苹果"},
        {"cell.C2", "1.250"},
        {"cell.D2", "5.00"},
        {"cell.E2", "6.25"},
        {"cell.A3", "t2026-12-07 10:05:00"},
        {"cell.B3", "Pears from the far orchard"},
        {"cell.C3", ""},
        // Numbers stay the texts the scale sent.
        {"type.D2", "s"},
        {"type.E3", "s"},
        {"font.A1", "仿宋_GB2312|14|bold"},
        {"font.E1", "仿宋_GB2312|14|bold"},
        {"font.B2", "Calibri|11|normal"},
        {"height.1", "35.0"},
        {"height.2", "18.0"},
        {"height.3", "18.0"},
        {"header.text", "销售记录"},
        {"header.font", "黑体,常规"},
        {"header.size", "24"},
        {"title.rows", "$1:$1"},
        {"title.columns", "$A:$B"},
        {"orientation", "portrait"},
        {"freeze", "C2"},
        {"selection", "C2"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(values.count(key) ? values.at(key) : "<missing>", value) << key;

    // Every cell of the table, the empty one too, is centred both ways and has thin borders.
    for (const char* column : {"A", "B", "C", "D", "E"})
        for (const char* row : {"1", "2", "3"}) {
            const std::string at = std::string(column) + row;
            EXPECT_EQ(values.at("align." + at), "center|center") << at;
            EXPECT_EQ(values.at("border." + at), "thin|thin|thin|thin") << at;
        }
    // Margins are given in points (1 cm, 2.7 cm and 1.5 cm at 0.035 cm a point); files hold
    // inches.
    EXPECT_NEAR(number(values, "margin.header") * 72, 28.57142857142857, 1e-9);
    EXPECT_NEAR(number(values, "margin.top") * 72, 77.14285714285714, 1e-9);
    EXPECT_NEAR(number(values, "margin.bottom") * 72, 42.857142857142854, 1e-9);
}

TEST(SalesWorkbook, ColumnsAreAsWideAsTheirLongestText) {
    TempDir dir;
    const auto file = dir / "records.xlsx";
    const VectorRows rows = twoSales();
    ASSERT_TRUE(SalesWorkbook::write(file, rows, SalesCaptions::columns(Lang::Chinese)));
    const auto values = dumpWorkbook(file);
    // Widths count characters of the default font; a Chinese character takes two, a 14 point
    // caption character about 1.3 of a record's.
    struct Case {
        const char* column;
        double longest; // the longest text, in default-font characters
        const char* caption;
    };
    const Case cases[] = {
        {"A", 20, "交易时间"},             // "t" and the 19-character time
        {"B", 26, "商品名"},               // the pears
        {"C", 9 * 14.0 / 11, "重量/数量"}, // the caption is the longest text
        {"D", 4 * 14.0 / 11, "单价"},
        {"E", 4 * 14.0 / 11, "金额"},
    };
    for (const Case& c : cases) {
        const double width = number(values, std::string("width.") + c.column);
        EXPECT_GE(width, c.longest) << c.column;
        EXPECT_LE(width, c.longest * 1.25 + 3) << c.column;
        EXPECT_EQ(values.at(std::string("cell.") + c.column + "1"), c.caption);
    }
}

TEST(SalesWorkbook, FieldsThatAreNotCleanTextStillGiveAWorkbookThatOpens) {
    TempDir dir;
    const auto file = dir / "records.xlsx";
    // A byte that is not GBK, markup characters and control characters, which XML cannot carry
    // as they are.
    const VectorRows rows({{"2026-12-07 10:00", "a<b>&\"c\"",
                            "\xff"
                            "1",
                            "x\x01y", " 2 "}});
    ASSERT_TRUE(SalesWorkbook::write(file, rows, SalesCaptions::columns(Lang::English)));
    const auto values = dumpWorkbook(file);
    EXPECT_EQ(values.at("cell.B2"), "a<b>&\"c\"");
    EXPECT_EQ(values.at("cell.C2"), "\uFFFD1");
    EXPECT_EQ(values.at("cell.E2"), " 2 ");
    EXPECT_EQ(values.at("rows"), "2");
}

TEST(SalesWorkbook, AWorkbookThatCannotBeWrittenFailsWithTheOperatorsMessage) {
    TempDir dir;
    writeBytes(dir / "plain-file", "x");
    writeBytes(dir / "kept.xlsx", "old workbook");
    std::filesystem::create_directory(dir / "a-folder.xlsx");
    struct Case {
        const char* what;
        std::filesystem::path file;
        std::string tmpdir;
        std::size_t rows;
    };
    const Case cases[] = {
        {"the file's folder is a file", dir / "plain-file/out.xlsx", dir.path().string(), 1},
        {"the file is a folder", dir / "a-folder.xlsx", dir.path().string(), 1},
        {"no temporary folder", dir / "kept.xlsx", (dir / "missing").string(), 1},
        {"more rows than a worksheet holds", dir / "kept.xlsx", dir.path().string(),
         SalesWorkbook::kMaxRows + 1},
    };
    // Rows that are only counted: the size is refused before any is read.
    class ManyRows : public SalesRows {
    public:
        explicit ManyRows(std::size_t count) : count_(count) {}
        std::size_t size() const override { return count_; }
        std::string_view field(std::size_t, std::size_t) const override { return "1"; }

    private:
        std::size_t count_;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EnvironmentVariable tmpdir("TMPDIR", c.tmpdir);
        const ManyRows rows(c.rows);
        const auto written =
            SalesWorkbook::write(c.file, rows, SalesCaptions::columns(Lang::English));
        EXPECT_FALSE(written);
        EXPECT_EQ(written.message(), "Unable to build Excel 2003 server");
        EXPECT_FALSE(written.detail.empty());
        EXPECT_EQ(readBytes(dir / "kept.xlsx"), "old workbook");
        EXPECT_TRUE(std::filesystem::is_directory(dir / "a-folder.xlsx"));
    }
    // No scratch file is left behind in the temporary folder.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().rfind("korvan-records-", 0), std::string::npos)
            << entry.path();
}

TEST(SalesWorkbook, TemporaryFilesAreNewPrivateAndNamedForASpreadsheet) {
    TempDir dir;
    const EnvironmentVariable tmpdir("TMPDIR", dir.path().string());
    const auto first = SalesWorkbook::newTemporaryFile();
    const auto second = SalesWorkbook::newTemporaryFile();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.value, second.value);
    for (const auto& made : {first.value, second.value}) {
        EXPECT_EQ(made.parent_path(), dir.path());
        EXPECT_EQ(made.extension(), ".xlsx");
        struct stat status {};
        ASSERT_EQ(::stat(made.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u);
        EXPECT_EQ(status.st_size, 0);
    }
    // The screen writes its export into such a file.
    const VectorRows rows = twoSales();
    ASSERT_TRUE(SalesWorkbook::write(first.value, rows, SalesCaptions::columns(Lang::English)));
    EXPECT_EQ(dumpWorkbook(first.value).at("cell.B2"), "苹果");
}

TEST(SalesWorkbook, LibreOfficeOpensTheWorkbook) {
    if (!runShell("command -v soffice >/dev/null 2>&1").first)
        GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    TempDir dir;
    const auto file = dir / "records.xlsx";
    const VectorRows rows = twoSales();
    ASSERT_TRUE(SalesWorkbook::write(file, rows, SalesCaptions::columns(Lang::English)));
    // A profile of its own, so a running office does not take the conversion over.
    const auto [ok, output] =
        runShell("HOME='" + dir.path().string() + "' soffice -env:UserInstallation=file://" +
                 (dir / "profile").string() +
                 " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" +
                 dir.path().string() + "' '" + file.string() + "' 2>&1");
    ASSERT_TRUE(ok) << output;
    EXPECT_EQ(readBytes(dir / "records.csv"),
              "Transaction time,Commodity Name,N.W/Q'TY,Price,Total\n"
              "t2026-12-07 10:00:01,苹果,1.250,5.00,6.25\n"
              "t2026-12-07 10:05:00,Pears from the far orchard,,3.00,0\n");
}
