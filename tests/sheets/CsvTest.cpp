#include "sheets/CsvReader.h"
#include "sheets/CsvWriter.h"

#include <cerrno>

#include <gtest/gtest.h>

#include "common/TextCodec.h"
#include "support/TempDir.h"

using namespace korvan;

namespace {

using Table = std::vector<std::vector<std::string>>;

Table cellsOf(const SheetRead& read) {
    Table table;
    for (const SheetRow& row : read.rows)
        table.push_back(row.cells);
    return table;
}

std::vector<std::size_t> linesOf(const SheetRead& read) {
    std::vector<std::size_t> lines;
    for (const SheetRow& row : read.rows)
        lines.push_back(row.line);
    return lines;
}

} // namespace

TEST(Csv, WrittenTableReadsBackCellForCell) {
    const Table table = {
        {"Name", "Code", "Unit price", "Description"},
        {"say \"hi\"", "0012", "1,50", ""},
        {"two\r\nlines", "lf\nonly", "lone\rcr", "\"\""},
        {" leading", "trailing ", "\tTab", "semi;colon"},
        {"苹果", "繁體", "emoji \xF0\x9F\x98\x80", ","},
        {"", "", "only the third", ""},
        {"\"", "a\"b\"", "'single'", "x"},
    };
    const std::string bytes = CsvWriter::write(table);
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(bytes.find("\"say \"\"hi\"\"\",0012,\"1,50\",\r\n"), std::string::npos) << bytes;
    const SheetRead read = CsvReader::parse(bytes);
    ASSERT_TRUE(read.ok()) << read.detail;
    EXPECT_EQ(cellsOf(read), table);
    // Quoted line breaks stay in their row; the next row starts on the line after them.
    EXPECT_EQ(linesOf(read), (std::vector<std::size_t>{1, 2, 3, 7, 8, 9, 10}));
}

TEST(Csv, Utf8WithOrWithoutMarkAndGbkReadAlike) {
    const std::string utf8 = "商品名,商品编码,单价\r\n苹果,0012,5.50\r\n\"香蕉, 进口\",0013,3\r\n";
    const auto gbk = TextCodec::toGbk(utf8);
    ASSERT_TRUE(gbk);
    const Table expected = {
        {"商品名", "商品编码", "单价"}, {"苹果", "0012", "5.50"}, {"香蕉, 进口", "0013", "3"}};
    for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, *gbk}) {
        const SheetRead read = CsvReader::parse(bytes);
        ASSERT_TRUE(read.ok()) << read.detail;
        EXPECT_EQ(cellsOf(read), expected);
    }
}

TEST(Csv, DamagedBytesBecomeReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::string cell; // the second row's first cell
    };
    const Case cases[] = {
        // With the mark the file is UTF-8 whatever follows.
        {"\xEF\xBB\xBFname\n\xE8\x8B\xB9\xFF\n", "苹\xEF\xBF\xBD"},
        // Mostly UTF-8 with a character cut short: read as UTF-8, not as GBK mojibake.
        {"name\n苹果香蕉\xE8\x8B"
         "a\n",
         "苹果香蕉\xEF\xBF\xBD\xEF\xBF\xBD"
         "a"},
        // Mostly GBK with a byte that is not.
        {"name\n\xC6\xBB\xB9\xFB\xFF\n", "苹果\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        const SheetRead read = CsvReader::parse(c.bytes);
        ASSERT_TRUE(read.ok());
        ASSERT_EQ(read.rows.size(), 2u);
        EXPECT_EQ(read.rows[1].cells, std::vector<std::string>{c.cell});
    }
}

TEST(Csv, SeparatorIsTakenFromTheHeaderLine) {
    struct Case {
        std::string bytes;
        Table rows;
    };
    const Case cases[] = {
        {"a,b;c\n1,2;3\n", {{"a", "b;c"}, {"1", "2;3"}}},
        {"a;b;c,d\n1;2;3,4\n", {{"a", "b", "c,d"}, {"1", "2", "3,4"}}},
        {"a\tb\tc\n1\t\t3\n", {{"a", "b", "c"}, {"1", "", "3"}}},
        // Separators inside quotes do not count; blank lines before the header are skipped.
        {"\n  \n\"x;y;z\",b\n1,2\n", {{"x;y;z", "b"}, {"1", "2"}}},
        {"one column\nvalue; with, both\n", {{"one column"}, {"value; with", " both"}}},
        // Blanks in unquoted fields are kept, as spreadsheet programs keep them.
        {"a, b ,c\n", {{"a", " b ", "c"}}},
    };
    for (const Case& c : cases) {
        const SheetRead read = CsvReader::parse(c.bytes);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(cellsOf(read), c.rows) << c.bytes;
    }
}

TEST(Csv, RowsKeepTheLineTheyStartOn) {
    struct Case {
        std::string bytes;
        Table rows;
        std::vector<std::size_t> lines;
    };
    const Case cases[] = {
        {"h1,h2\r\n\r\n\r\na,\"multi\r\nline\r\n\"\r\nb,c", // CR LF, no final line end
         {{"h1", "h2"}, {"a", "multi\r\nline\r\n"}, {"b", "c"}},
         {1, 4, 7}},
        {"h\n,,\n \t\n\"\"\nx\n", {{"h"}, {"x"}}, {1, 5}}, // rows of empty or blank cells
        {"\"a\nb\",\"c\n\nd\"\n\ne\n", {{"a\nb", "c\n\nd"}, {"e"}}, {1, 6}},
        {"a\rb\r\rc\n", {{"a"}, {"b"}, {"c"}}, {1, 2, 4}}, // lone CRs end lines too
        // A quote left open runs to the end of the file, and still gives its field.
        {"h\nx,\"open\nfield", {{"h"}, {"x", "open\nfield"}}, {1, 2}},
        {"\"a \"\"b\"\" c\",\"\"\"\"\n", {{"a \"b\" c", "\""}}, {1}},
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        const SheetRead read = CsvReader::parse(c.bytes);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(cellsOf(read), c.rows) << c.bytes;
        EXPECT_EQ(linesOf(read), c.lines) << c.bytes;
    }
}

TEST(Csv, TooManyCellsIsRefused) {
    std::string row(SheetRead::kMaxCells / 4 - 1, ','); // four rows of exactly a quarter
    row += "x\n";
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += row;
    const SheetRead full = CsvReader::parse(bytes);
    ASSERT_TRUE(full.ok()) << full.detail;
    EXPECT_EQ(full.rows.size(), 4u);
    const SheetRead over = CsvReader::parse(bytes + "y\n");
    EXPECT_EQ(over.problem, SheetRead::Problem::TooLarge);
    EXPECT_TRUE(over.rows.empty());
}

TEST(Csv, ReadsAFileAndReportsAMissingOne) {
    test::TempDir dir;
    test::writeBytes(dir / "in.csv", "\xEF\xBB\xBFName\r\n苹果\r\n");
    const SheetRead read = CsvReader::read(dir / "in.csv");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(cellsOf(read), (Table{{"Name"}, {"苹果"}}));

    const SheetRead missing = CsvReader::read(dir / "none.csv");
    EXPECT_EQ(missing.problem, SheetRead::Problem::File);
    EXPECT_EQ(missing.io.error, ENOENT);
    EXPECT_FALSE(missing.message().empty());
    const SheetRead folder = CsvReader::read(dir.path());
    EXPECT_EQ(folder.problem, SheetRead::Problem::File);
}
