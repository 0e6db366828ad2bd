#include "sheets/CsvReader.h"
#include "sheets/CsvWriter.h"

#include <cerrno>

#include <gtest/gtest.h>

#include "common/Language.h"
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
        // What a spreadsheet would run as a formula is written behind an apostrophe.
        {"=1+2", "-1", "@x", "+1,5"},
        {"'=no", "'", "a=b", "''"},
    };
    const std::string bytes = CsvWriter::write(table);
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(bytes.find("\"say \"\"hi\"\"\",0012,\"1,50\",\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\r\n'=1+2,'-1,'@x,\"'+1,5\"\r\n''=no,'',a=b,'''\r\n"), std::string::npos)
        << bytes;
    const SheetRead read = CsvReader::parse(bytes);
    ASSERT_TRUE(read.ok()) << read.detail;
    EXPECT_EQ(cellsOf(read), table);
    // Quoted line breaks stay in their row; the next row starts on the line after them.
    EXPECT_EQ(linesOf(read), (std::vector<std::size_t>{1, 2, 3, 7, 8, 9, 10, 11}));
}

TEST(Csv, Utf8WithOrWithoutMarkAndGbkReadAlike) {
    const std::string utf8 = "商品名,单价\r\n苹果,5.50\r\n\"香蕉, 进口\",3\r\n";
    const Table expected = {{"商品名", "单价"}, {"苹果", "5.50"}, {"香蕉, 进口", "3"}};
    const std::string fffd = "\xEF\xBF\xBD";
    const std::pair<std::string, Table> cases[] = {
        {utf8, expected},
        {"\xEF\xBB\xBF" + utf8, expected},
        {TextCodec::toGbk(utf8).value(), expected},
        // With the mark the file is UTF-8 whatever follows; a bad byte becomes U+FFFD.
        {"\xEF\xBB\xBFn\n\xE8\x8B\xB9\xFF\n", {{"n"}, {"苹" + fffd}}},
        // Mostly GBK with a byte that is not.
        {"n\n\xC6\xBB\xB9\xFB\xFF\n", {{"n"}, {"苹果" + fffd}}},
        // Mostly UTF-8 with a character cut short: not read as GBK, which would give mojibake.
        {"n\n苹果香蕉\xE8\x8B"
         "a\n",
         {{"n"}, {"苹果香蕉" + fffd + fffd + "a"}}},
    };
    for (const auto& [bytes, rows] : cases) {
        const SheetRead read = CsvReader::parse(bytes);
        ASSERT_TRUE(read.ok()) << read.detail;
        EXPECT_EQ(cellsOf(read), rows) << bytes;
    }
}

TEST(Csv, Utf16IsRefusedWithOrWithoutItsMark) {
    for (const std::u16string_view text : {u"Name,Code\r\n", u"商品名,单价\r\n苹果,5.50\r\n"})
        for (const std::string mark : {"", "\xFF\xFE", "\xFE\xFF"}) {
            std::string bytes = mark;
            for (char16_t c : text) // big-endian with its mark, little-endian otherwise
                bytes += mark == "\xFE\xFF" ? std::string{char(c >> 8), char(c)}
                                            : std::string{char(c), char(c >> 8)};
            EXPECT_EQ(CsvReader::parse(bytes).problem, SheetRead::Problem::Utf16) << mark;
        }
    // A file marked as UTF-8 is UTF-8, even with a zero byte in a cell (the writer marks its own).
    EXPECT_TRUE(CsvReader::parse(std::string("\xEF\xBB\xBF\0\r\n", 6)).ok());
    Language::setFlag(kEnglish);
    EXPECT_EQ(CsvReader::parse("\xFF\xFE").message(),
              "UTF-16 is not supported: save the file as UTF-8 or GBK");
}

TEST(Csv, SeparatorsQuotesAndLines) {
    struct Case {
        std::string bytes;
        Table rows;
        std::vector<std::size_t> lines;
    };
    const Case cases[] = {
        // The separator is the header line's most frequent one outside quotes; comma by default.
        {"a,b;c\n1,2;3\n", {{"a", "b;c"}, {"1", "2;3"}}, {1, 2}},
        {"a;b;c,d\n1;2;3,4\n", {{"a", "b", "c,d"}, {"1", "2", "3,4"}}, {1, 2}},
        {"a\tb\tc\n1\t\t3\n", {{"a", "b", "c"}, {"1", "", "3"}}, {1, 2}},
        {"\n  \n\"x;y;z\",b\n1,2\n", {{"x;y;z", "b"}, {"1", "2"}}, {3, 4}},
        {"one\nvalue; with, both\n", {{"one"}, {"value; with", " both"}}, {1, 2}},
        // Blanks in unquoted fields are kept, as spreadsheet programs keep them.
        {"a, b ,c\n", {{"a", " b ", "c"}}, {1}},
        // CR LF, blank lines, a quoted field over lines, no final line end.
        {"h1,h2\r\n\r\n\r\na,\"multi\r\nline\r\n\"\r\nb,c",
         {{"h1", "h2"}, {"a", "multi\r\nline\r\n"}, {"b", "c"}},
         {1, 4, 7}},
        {"\"a\nb\",\"c\n\nd\"\n\ne\n", {{"a\nb", "c\n\nd"}, {"e"}}, {1, 6}},
        {"h\n,,\n \t\n\"\"\nx\n", {{"h"}, {"x"}}, {1, 5}}, // rows of empty or blank cells
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
    const std::string row = std::string(SheetRead::kMaxCells / 4 - 1, ',') + "x\n";
    const std::string bytes = row + row + row + row; // exactly the limit
    EXPECT_EQ(CsvReader::parse(bytes).rows.size(), 4u);
    const SheetRead over = CsvReader::parse(bytes + "y\n");
    EXPECT_EQ(over.problem, SheetRead::Problem::TooLarge);
    EXPECT_TRUE(over.rows.empty());
}

TEST(Csv, ReadsAFileAndReportsAMissingOne) {
    test::TempDir dir;
    test::writeBytes(dir / "in.csv", "\xEF\xBB\xBFName\r\n苹果\r\n");
    EXPECT_EQ(cellsOf(CsvReader::read(dir / "in.csv")), (Table{{"Name"}, {"苹果"}}));
    const SheetRead missing = CsvReader::read(dir / "none.csv");
    EXPECT_EQ(missing.problem, SheetRead::Problem::File);
    EXPECT_EQ(missing.io.error, ENOENT);
    EXPECT_EQ(CsvReader::read(dir.path()).problem, SheetRead::Problem::File);
}
