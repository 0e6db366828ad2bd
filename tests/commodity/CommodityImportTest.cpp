// Commodities from spreadsheet rows: header matching, the checks every row passes, the merge by
// code, and the round trip through both file formats.
#include "commodity/CommodityExport.h"
#include "commodity/CommodityFile.h"
#include "commodity/CommodityImport.h"
#include "common/TextCodec.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;
using Table = std::vector<std::vector<std::string>>;
using Status = CommodityImportRow::Status;

namespace {

class CommodityImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFlag = Language::flag();
        Language::setFlag(kEnglish);
    }
    void TearDown() override { Language::setFlag(savedFlag); }
    std::string savedFlag;
};

// A sheet whose rows sit on lines 1, 2, 3...
SheetRead sheet(const Table& rows) {
    SheetRead read;
    for (std::size_t i = 0; i < rows.size(); ++i)
        read.rows.push_back({i + 1, rows[i]});
    return read;
}

CommodityRecord record(std::string name, std::string code, std::string price = "1.00") {
    CommodityRecord r = CommodityRecord::newRecord();
    r.name = std::move(name);
    r.code = std::move(code);
    r.unitPrice = std::move(price);
    return r;
}

std::filesystem::path demoList() {
    return std::filesystem::path(KORVAN_DEMO_DIR) / "record/sp.rec";
}

} // namespace

TEST_F(CommodityImportTest, EveryRowIsCheckedAsTheEditorChecksIt) {
    const std::vector<std::string> header = {"Name", "Code", "Unit price", "Price change",
                                             "Description number"};
    const struct {
        std::vector<std::string> row;
        std::string column; // empty: the row is taken
        std::string reason;
    } cases[] = {
        {{"Apple", "0012", "6.80", "yes", "3"}, "", ""},
        {{"苹果苹果苹果苹果", "1", "1", "可变价", "0"}, "", ""}, // 16 bytes in code page 936
        {{"Apple", "", "6.80", "Yes", "3"}, "Code", "Commodity Code Can't Be Empty"},
        {{"", "0012345678901234567", "6.80", "Yes", "3"}, "Name", "Commodity name can't be empty"},
        {{"Apple", "1", "", "Yes", "3"}, "Unit price", "Commodity unit price can't be empty"},
        {{"苹果苹果苹果苹果苹", "1", "1", "Yes", "0"}, "Name", "is longer than 16 bytes"},
        {{"Apple", "1", "1234567", "Yes", "0"}, "Unit price", "is longer than 6 bytes"},
        {{"Apple 🍎", "1", "1", "Yes", "0"}, "Name", "holds characters the scale cannot store"},
        {{"Apple\nPie", "1", "1", "Yes", "0"},
         "Name",
         "holds a line break or another control character"},
        {{"Apple", "1", "1", "maybe", "0"},
         "Price change",
         "must be one of: Yes, No, 可变价, 不变价"},
        {{"Apple", "1", "1", "", "0"}, "Price change", "Price change not be empty"},
        {{"Apple", "1", "ab1.5x", "No", "0"},
         "Unit price",
         "Commodity unit price must be a number (digits, at most one decimal point, no sign)"},
        {{"Apple", "1", "1", "No", "33"},
         "Description number",
         "Commodity description should not be greater than 32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row[0] + "|" + c.row[1] + "|" + c.row[2] + "|" + c.row[3]);
        const auto plan =
            CommodityImport::plan(sheet({header, c.row}), {}, CommodityImport::Mode::Merge);
        ASSERT_TRUE(plan.problem.empty());
        ASSERT_EQ(plan.rows.size(), 1u);
        const CommodityImportRow& row = plan.rows[0];
        EXPECT_EQ(row.status, c.column.empty() ? Status::Add : Status::Rejected);
        EXPECT_EQ(row.column, c.column);
        EXPECT_EQ(row.reason, c.reason);
        EXPECT_EQ(plan.merged.size(), c.column.empty() ? 1u : 0u);
        EXPECT_EQ(plan.canApply(false), c.column.empty());
        EXPECT_TRUE(plan.canApply(true));
    }
}

TEST_F(CommodityImportTest, HeadersNameTheColumnsInAnyOrderAndLanguage) {
    // Chinese captions, another order, a field name in capitals, a column nobody knows.
    const auto plan = CommodityImport::plan(
        sheet({{"单价", " 商品编码 ", "Remarks", "商品名", "SALES MODE", "模式"},
               {"5.50", "0012", "fresh", "梨", "数量", "weight"}}),
        {}, CommodityImport::Mode::Merge);
    ASSERT_TRUE(plan.problem.empty()) << plan.problem;
    EXPECT_EQ(plan.ignoredColumns, (std::vector<std::string>{"Remarks", "模式"}));
    ASSERT_EQ(plan.merged.size(), 1u);
    CommodityRecord expected = record("\xC0\xE6", "0012", "5.50"); // 梨 in GBK
    expected.salesMode = SalesMode::Quantity;
    EXPECT_EQ(plan.merged[0], expected);
    EXPECT_EQ(plan.summary(), "1 to add, 0 to update, 0 rejected; columns ignored: Remarks, 模式");

    // Files that cannot be taken at all say why and leave the list alone.
    const std::vector<CommodityRecord> current = {record("Kept", "1")};
    const struct {
        SheetRead sheet;
        std::string problem;
    } refused[] = {
        {sheet({}), "The file has no header row"},
        {sheet({{"name", "Tare"}, {"Apple", "0"}}),
         "Required columns are missing: Commodity Code, Price"},
        {SheetRead::failed(SheetRead::Problem::NotSheet, "bad zip"),
         "The file is not a spreadsheet that can be read, or it is damaged"},
    };
    for (const auto& c : refused) {
        const auto refusedPlan =
            CommodityImport::plan(c.sheet, current, CommodityImport::Mode::Replace);
        EXPECT_EQ(refusedPlan.problem, c.problem);
        EXPECT_FALSE(refusedPlan.canApply(true));
        EXPECT_EQ(refusedPlan.merged, current);
    }
}

TEST_F(CommodityImportTest, RowsMergeByCodeOrReplaceTheList) {
    CommodityRecord kept = record("Bread", "2", "1.50");
    kept.tare = "15";
    const std::vector<CommodityRecord> current = {record("Apple", "1"), kept};
    const Table rows = {{"Code", "Name", "Unit price"},
                        {"2", "Rye bread", "1.80"}, // updates Bread, keeps its tare
                        {"3", "Pear", "2.00"},      // appended
                        {"", "Nothing", "1"},       // rejected: the others still count
                        {"3", "Pear", "2.20"}};     // updates the row just added

    auto merged = CommodityImport::plan(sheet(rows), current, CommodityImport::Mode::Merge);
    CommodityRecord rye = kept;
    rye.name = "Rye bread";
    rye.unitPrice = "1.80";
    EXPECT_EQ(merged.merged,
              (std::vector<CommodityRecord>{current[0], rye, record("Pear", "3", "2.20")}));
    EXPECT_EQ(merged.added, 1u);
    EXPECT_EQ(merged.updated, 2u);
    EXPECT_EQ(merged.rejected, 1u);
    EXPECT_EQ(merged.rejectionLines(),
              (std::vector<std::string>{"line 4, Code: Commodity Code Can't Be Empty"}));

    auto replaced = CommodityImport::plan(sheet(rows), current, CommodityImport::Mode::Replace);
    EXPECT_EQ(replaced.merged, (std::vector<CommodityRecord>{record("Rye bread", "2", "1.80"),
                                                             record("Pear", "3", "2.20")}));

    Language::setFlag(kChinese);
    EXPECT_EQ(
        CommodityImport::plan(sheet(rows), current, CommodityImport::Mode::Merge).rejectionLines(),
        (std::vector<std::string>{"第4行, Code: 商品编码不能为空"}));
}

TEST_F(CommodityImportTest, TheMergedListHoldsAtMost2000Records) {
    std::vector<CommodityRecord> current;
    for (int i = 0; i < 1999; ++i)
        current.push_back(record("Item", std::to_string(i)));
    const auto plan = CommodityImport::plan(sheet({{"Name", "Code", "Unit price"},
                                                   {"New", "a", "1"},
                                                   {"Newer", "b", "1"},
                                                   {"Changed", "7", "9"}}),
                                            current, CommodityImport::Mode::Merge);
    ASSERT_EQ(plan.rows.size(), 3u);
    EXPECT_EQ(plan.rows[0].status, Status::Add);
    EXPECT_EQ(plan.rows[1].status, Status::Rejected);
    EXPECT_EQ(plan.rows[1].reason, "Commodity data should not exceed 2000");
    EXPECT_EQ(plan.rows[2].status, Status::Update); // a full list still takes updates
    EXPECT_EQ(plan.merged.size(), 2000u);
    EXPECT_EQ(plan.merged[7].name, "Changed");
}

TEST_F(CommodityImportTest, ExportThenImportGivesTheSameFileByteForByte) {
    TempDir dir;
    // The demo list, plus names with Chinese at the 16-byte limit and with awkward characters.
    std::vector<CommodityRecord> lists[2];
    auto demo = CommodityFile::load(demoList());
    ASSERT_TRUE(demo.ok());
    ASSERT_FALSE(demo.value.empty());
    lists[0] = demo.value;
    CommodityRecord quoted = record("\"Best\", 1kg", "0012", "12");
    quoted.salesMode = SalesMode::Quantity;
    quoted.discount = Discount::Yes;
    lists[1] = {record("\xC6\xBB\xB9\xFB\xC6\xBB\xB9\xFB\xC6\xBB\xB9\xFB\xC6\xBB\xB9\xFB", "1"),
                quoted, record(" lead", "0000000000000001", "000.50"),
                // Cells a spreadsheet would take for formulas.
                record("=1+2", "-1"), record("@x", "'+1")};
    for (const char* flag : {kEnglish, kChinese}) {
        Language::setFlag(flag);
        for (const auto& list : lists) {
            writeBytes(dir / "before.rec", "");
            ASSERT_TRUE(CommodityFile::save(dir / "before.rec", list).ok());
            for (const char* name : {"list.csv", "list.xlsx"}) {
                SCOPED_TRACE(std::string(flag) + " " + name);
                ASSERT_TRUE(CommodityExport::write(dir / name, list, Language::current()));
                const auto plan =
                    CommodityImport::planFile(dir / name, {}, CommodityImport::Mode::Merge);
                ASSERT_TRUE(plan.canApply(false)) << plan.problem << plan.summary();
                ASSERT_TRUE(CommodityFile::save(dir / "after.rec", plan.merged).ok());
                EXPECT_EQ(readBytes(dir / "after.rec"), readBytes(dir / "before.rec"));
            }
        }
    }
}

TEST_F(CommodityImportTest, GbkAndUtf8FilesAndALibreOfficeWorkbookGiveTheSameList) {
    TempDir dir;
    const std::string utf8 =
        "商品名;商品编码;单价;模式\r\n苹果;1001;6.80;称重\r\n梨;1002;4.50;数量\r\n";
    writeBytes(dir / "utf8.csv", "\xEF\xBB\xBF" + utf8);
    writeBytes(dir / "gbk.csv", *TextCodec::toGbk(utf8));
    const auto expected =
        CommodityImport::planFile(dir / "utf8.csv", {}, CommodityImport::Mode::Merge);
    ASSERT_TRUE(expected.canApply(false)) << expected.problem;
    ASSERT_EQ(expected.merged.size(), 2u);
    EXPECT_EQ(expected.merged[1].name, "\xC0\xE6");
    EXPECT_EQ(CommodityImport::planFile(dir / "gbk.csv", {}, CommodityImport::Mode::Merge).merged,
              expected.merged);

    // A workbook as a spreadsheet program writes it: numbers are numbers there ("6.80" becomes
    // 6.8), so only the texts are compared.
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP()
            << "LibreOffice (soffice) is not installed: the converted workbook is not read";
    writeBytes(dir / "book.csv", "\xEF\xBB\xBF" + utf8);
    const std::string convert = "cd '" + dir.path().string() + "' && HOME='" + dir.path().string() +
                                "' soffice --headless --infilter=CSV:59,34,76 --convert-to xlsx "
                                "book.csv >/dev/null 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    const auto book =
        CommodityImport::planFile(dir / "book.xlsx", {}, CommodityImport::Mode::Merge);
    ASSERT_TRUE(book.canApply(false)) << book.problem << book.summary();
    ASSERT_EQ(book.merged.size(), 2u);
    EXPECT_EQ(book.merged[0].name, expected.merged[0].name);
    EXPECT_EQ(book.merged[0].unitPrice, "6.8");
    EXPECT_EQ(book.merged[1].code, "1002");
    EXPECT_EQ(book.merged[1].salesMode, SalesMode::Quantity);
}
