// The .xlsx reader against workbooks written by libxlsxwriter and against hand-made packages
// that show what other programs write, and what a damaged or hostile file holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <xlsxwriter.h>
#include <zip.h>

#include "sheets/XlsxReader.h"
#include "support/TempDir.h"

using namespace korvan;
using korvan::test::TempDir;
using Problem = SheetRead::Problem;
using Parts = std::vector<std::pair<std::string, std::string>>;

namespace {

const std::string kMain = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
const std::string kRelNs =
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";

// A zip archive in memory holding the parts; a part that reads kHuge is made of spaces, one
// more byte than a workbook may unpack to.
const std::string kHuge = "huge";
std::string zipOf(const Parts& parts, int level = 0) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_source_keep(buffer);
    std::string spaces;
    for (const auto& [name, data] : parts) {
        if (data == kHuge)
            spaces.assign(SheetRead::kMaxUnpackedBytes + 1, ' ');
        const std::string& bytes = data == kHuge ? spaces : data;
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (level)
            zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_DEFLATE, zip_uint32_t(level));
    }
    EXPECT_EQ(zip_close(zip), 0);
    zip_source_open(buffer);
    zip_source_seek(buffer, 0, SEEK_END);
    std::string bytes(std::size_t(zip_source_tell(buffer)), '\0');
    zip_source_seek(buffer, 0, SEEK_SET);
    zip_source_read(buffer, bytes.data(), bytes.size());
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

std::string sheet(const std::string& rows) {
    return "<worksheet " + kMain + "><sheetData>" + rows + "</sheetData></worksheet>";
}
std::string strings(const std::string& items) {
    return "<sst " + kMain + ">" + items + "</sst>";
}

// The rows as "line[cell,cell] line[...]", or the problem and its detail.
std::string shape(const SheetRead& read) {
    if (!read)
        return "problem " + std::to_string(int(read.problem)) + ": " + read.detail;
    std::string out;
    for (const SheetRow& row : read.rows) {
        out += (out.empty() ? "" : " ") + std::to_string(row.line) + "[";
        for (std::size_t i = 0; i < row.cells.size(); ++i)
            out += (i ? "," : "") + row.cells[i];
        out += "]";
    }
    return out;
}

TEST(XlsxReader, ReadsWorkbooksWrittenByLibxlsxwriter) {
    // Shared strings by default; inline strings in constant-memory mode.
    for (const bool inlineStrings : {false, true}) {
        SCOPED_TRACE(inlineStrings ? "inline strings" : "shared strings");
        TempDir dir;
        const auto file = dir / "list.xlsx";
        lxw_workbook_options options{};
        options.constant_memory = inlineStrings;
        lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
        lxw_worksheet* first = workbook_add_worksheet(book, "Prices");
        worksheet_write_string(first, 0, 0, "Name", nullptr);
        worksheet_write_string(first, 0, 1, "苹果 红富士", nullptr);
        worksheet_write_number(first, 0, 2, 12, nullptr);
        worksheet_write_number(first, 0, 3, 1.5, nullptr);
        worksheet_write_number(first, 0, 4, 0.1 + 0.2, nullptr);
        worksheet_write_boolean(first, 1, 0, 1, nullptr);
        worksheet_write_boolean(first, 1, 1, 0, nullptr);
        worksheet_write_formula_str(first, 1, 2, "=A1", nullptr, "Name");
        worksheet_write_number(first, 1, 3, 1e20, nullptr);
        worksheet_write_number(first, 1, 4, -0.001, nullptr);
        worksheet_write_string(first, 1, 5, "a\fb", nullptr);
        worksheet_write_string(first, 3, 0, "x", nullptr);
        worksheet_write_string(first, 3, 5, "0012", nullptr);
        worksheet_write_string(workbook_add_worksheet(book, "Other"), 0, 0, "elsewhere", nullptr);
        ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

        EXPECT_EQ(shape(XlsxReader::read(file)), "1[Name,苹果 红富士,12,1.5,0.3] "
                                                 "2[TRUE,FALSE,Name,1E+20,-0.001,a\fb] "
                                                 "4[x,,,,,0012]");
    }
}

TEST(XlsxReader, ReadsWhatOtherProgramsWrite) {
    const std::string prefixed =
        R"(xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const std::string workbook = "<workbook " + kMain + " " + kRelNs +
                                 R"(><sheets><sheet name="B" sheetId="2" r:id="rId7"/>)"
                                 R"(<sheet name="A" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    const std::string rels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://x/worksheet" Target="worksheets/sheet1.xml"/>)"
        R"(<Relationship Id="rId9" Type="http://x/sharedStrings" Target="./strings/../table.xml"/>)"
        R"(<Relationship Id="rId7" Type="http://x/worksheet" Target="/xl/data/first.xml"/>)"
        R"(</Relationships>)";
    const struct {
        const char* name;
        Parts parts;
        std::string rows;
    } cases[] = {
        {"inline strings, rich text, escapes, empty cells",
         {{"xl/worksheets/sheet1.xml",
           sheet(R"(<row r="2"><c r="A2" t="inlineStr"><is><t>a_x000C_b_x000d_</t></is></c>)"
                 R"(<c r="B2" t="inlineStr"><is><r><t>Bo</t></r><r><rPr><b/></rPr><t>ld</t></r>)"
                 R"(<rPh><t>ボ</t></rPh></is></c><c r="C2" t="str"><f>A2</f>)"
                 R"(<v>_x005F_x000C_ _xD83D__xDE00_ _xD83D_</v></c>)"
                 R"(<c r="D2" t="e"><v>#N/A</v></c><c r="E2" t="d"><v>2024-01-31</v></c>)"
                 R"(<c r="F2" t="inlineStr"><is><t></t></is></c><c r="G2"/></row>)"
                 R"(<row r="3"><c r="A3"><v></v></c><c r="B3" t="s"/></row>)")}},
         "2[a\fb\r,Bold,_x000C_ 😀 _xD83D_,#N/A,2024-01-31]"},
        {"shared strings: rich text, phonetic runs, empty ones trimmed",
         {{"xl/worksheets/sheet1.xml",
           sheet(
               R"(<row r="1"><c r="A1" t="s"><v>1</v></c><c r="B1" t="s"><v>0</v></c>)"
               R"(<c r="C1" t="s"><v>2</v></c></row><row r="2"><c r="B2" t="s"><v>2</v></c></row>)")},
          {"xl/sharedStrings.xml",
           strings(
               R"(<si><t xml:space="preserve"> 商品 </t></si><si><r><t>苹</t></r><r><t>果</t></r>)"
               R"(<rPh sb="0" eb="1"><t>ピン</t></rPh><phoneticPr fontId="1"/></si><si><t/></si>)")}},
         "1[苹果, 商品 ]"},
        {"prefixed elements, rows and cells without r",
         {{"xl/worksheets/sheet1.xml",
           "<x:worksheet " + prefixed +
               R"(><x:sheetData><x:row><x:c><x:v>1</x:v></x:c><x:c t="s"><x:v>0</x:v></x:c>)"
               R"(</x:row><x:row><x:c r="C2"><x:v>2</x:v></x:c><x:c><x:v>3</x:v></x:c></x:row>)"
               R"(<x:row r="7"/><x:row><x:c r="b8"><x:v>4</x:v></x:c></x:row>)"
               R"(</x:sheetData></x:worksheet>)"},
          {"xl/sharedStrings.xml", "<x:sst " + prefixed + "><x:si><x:t>a</x:t></x:si></x:sst>"}},
         "1[1,a] 2[,,2,3] 8[,4]"},
        {"a later cell in the same column wins",
         {{"xl/worksheets/sheet1.xml",
           sheet(R"(<row><c r="A1" t="s"><v>0</v></c><c r="A1" t="inlineStr"><is><t>b</t></is>)"
                 R"(</c><c r="B1" t="inlineStr"><is><t>c</t></is></c><c r="B1" t="s"><v>0</v></c>)"
                 R"(<c r="C1"><v>1</v></c><c r="C1" t="s"/></row>)")},
          {"xl/sharedStrings.xml", strings("<si><t>a</t></si>")}},
         "1[b,a]"},
        {"the first sheet and the strings found through the relationships",
         {{"xl/workbook.xml", workbook},
          {"xl/_rels/workbook.xml.rels", rels},
          {"xl/worksheets/sheet1.xml", sheet(R"(<row><c><v>9</v></c></row>)")},
          {"xl/data/first.xml", sheet(R"(<row r="5"><c r="A5" t="s"><v>0</v></c></row>)")},
          {"xl/sharedStrings.xml", strings("<si><t>wrong</t></si>")},
          {"xl/table.xml", strings("<si><t>right</t></si>")}},
         "5[right]"},
        {"sheet1.xml when the relationships lead nowhere",
         {{"xl/workbook.xml", workbook},
          {"xl/worksheets/sheet1.xml", sheet(R"(<row><c><v>9</v></c></row>)")}},
         "1[9]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shape(XlsxReader::parse(zipOf(c.parts))), c.rows);
    }
}

TEST(XlsxReader, ShowsNumbersAsTheGeneralFormatDoes) {
    const std::pair<const char*, const char*> cases[] = {
        {"12", "12"},
        {"12.0", "12"},
        {"1.5", "1.5"},
        {"0.30000000000000004", "0.3"},
        {"1E-3", "0.001"},
        {"100000", "100000"},
        {"-0", "0"},
        {"-2.5", "-2.5"},
        {"123456789012345", "123456789012345"},
        {"99999999999999.99", "100000000000000"},
        {"1234567890123456", "1.23456789012346E+15"},
        {"1E+20", "1E+20"},
        {"1E+308", "1E+308"},
        {"0.000000001", "0.000000001"},
        {"0.0000000001", "1E-10"},
        {"-0.000000000123", "-1.23E-10"},
        {"1.5E-10", "1.5E-10"},
        {"0.000123456789012345", "0.000123456789012345"},
        {"0.0001234567890123456", "0.000123456789012346"},
        {"007", "7"},
        {" 7 ", "7"},
        {"12abc", "12abc"},
        {"inf", "inf"},
        {"1e400", "1e400"},
        {"0x10", "0x10"},
    };
    std::string rows;
    for (const auto& [stored, shown] : cases)
        rows += std::string("<row><c><v>") + stored + "</v></c></row>";
    const SheetRead read = XlsxReader::parse(zipOf({{"xl/worksheets/sheet1.xml", sheet(rows)}}));
    ASSERT_TRUE(read) << read.detail;
    ASSERT_EQ(read.rows.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(read.rows[i].cells.at(0), cases[i].second) << "stored " << cases[i].first;
}

TEST(XlsxReader, RefusesDamagedAndHostileWorkbooks) {
    const auto sheetOnly = [](const std::string& rows) {
        return zipOf({{"xl/worksheets/sheet1.xml", sheet(rows)}});
    };
    const std::string good =
        zipOf({{"xl/worksheets/sheet1.xml", sheet(R"(<row><c><v>1</v></c></row>)")}});
    std::string corrupt = zipOf({{"xl/worksheets/sheet1.xml", sheet(std::string(4000, ' '))}}, 9);
    corrupt[70] = char(corrupt[70] ^ 0x55); // inside the compressed data
    // 64 rows reaching column XFD hold exactly the cell limit, empty padding included.
    std::string farCells;
    for (int row = 1; row <= 64; ++row)
        farCells += "<row><c r=\"XFD" + std::to_string(row) + "\"><v>1</v></c></row>";
    const SheetRead full = XlsxReader::parse(sheetOnly(farCells));
    ASSERT_EQ(full.rows.size(), 64u) << full.detail;
    EXPECT_EQ(full.rows.back().cells.size(), 16384u);
    farCells += R"(<row><c r="A65"><v>1</v></c></row>)";
    const std::string oneString = strings("<si><t>a</t></si>");

    const struct {
        const char* name;
        std::string bytes;
        Problem problem;
    } cases[] = {
        {"empty", "", Problem::NotSheet},
        {"not a zip", "PK\x03\x04 not really", Problem::NotSheet},
        {"truncated", good.substr(0, good.size() / 2), Problem::NotSheet},
        {"corrupt data", corrupt, Problem::NotSheet},
        {"no sheet", zipOf({{"docProps/app.xml", "<Properties/>"}}), Problem::NotSheet},
        {"unclosed XML", zipOf({{"xl/worksheets/sheet1.xml", "<worksheet><sheetData><row>"}}),
         Problem::NotSheet},
        {"document type",
         zipOf({{"xl/worksheets/sheet1.xml",
                 R"(<!DOCTYPE worksheet [<!ENTITY a "aaaaaaaa">]>)" +
                     sheet(R"(<row><c t="inlineStr"><is><t>&a;&a;</t></is></c></row>)")}}),
         Problem::NotSheet},
        {"shared index out of range",
         zipOf({{"xl/worksheets/sheet1.xml", sheet(R"(<row><c t="s"><v>1</v></c></row>)")},
                {"xl/sharedStrings.xml", oneString}}),
         Problem::NotSheet},
        {"shared index not a number",
         zipOf({{"xl/worksheets/sheet1.xml", sheet(R"(<row><c t="s"><v>x</v></c></row>)")},
                {"xl/sharedStrings.xml", oneString}}),
         Problem::NotSheet},
        {"shared strings missing", sheetOnly(R"(<row><c t="s"><v>0</v></c></row>)"),
         Problem::NotSheet},
        {"column past XFD", sheetOnly(R"(<row><c r="XFE1"><v>1</v></c></row>)"), Problem::NotSheet},
        {"next column past XFD", sheetOnly(R"(<row><c r="XFD1"><v>1</v></c><c><v>2</v></c></row>)"),
         Problem::NotSheet},
        {"row past 1048576", sheetOnly(R"(<row r="1048577"><c><v>1</v></c></row>)"),
         Problem::NotSheet},
        {"next row past 1048576", sheetOnly(R"(<row r="1048576"/><row><c><v>1</v></c></row>)"),
         Problem::NotSheet},
        {"one cell past the limit", sheetOnly(farCells), Problem::TooLarge},
        {"unpacks past the limit", zipOf({{"xl/worksheets/sheet1.xml", kHuge}}, 1),
         Problem::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SheetRead read = XlsxReader::parse(c.bytes);
        EXPECT_EQ(read.problem, c.problem) << shape(read);
        EXPECT_TRUE(read.rows.empty());
        EXPECT_FALSE(read.detail.empty());
    }
}

TEST(XlsxReader, ReportsFilesThatCannotBeRead) {
    TempDir dir;
    const SheetRead missing = XlsxReader::read(dir / "missing.xlsx");
    EXPECT_EQ(missing.problem, Problem::File);
    EXPECT_EQ(missing.io.error, ENOENT);

    const SheetRead folder = XlsxReader::read(dir.path());
    EXPECT_EQ(folder.problem, Problem::File);
    EXPECT_FALSE(folder.io.ok());

    // Refused by its size, before it is read.
    const auto huge = dir / "huge.xlsx";
    korvan::test::writeBytes(huge, "PK");
    std::filesystem::resize_file(huge, SheetRead::kMaxFileBytes + 1);
    EXPECT_EQ(XlsxReader::read(huge).problem, Problem::TooLarge);
}

} // namespace
