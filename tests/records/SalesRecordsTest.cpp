#include "records/SalesRecordFile.h"
#include "records/SalesRecords.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {

using Fields = std::array<std::string, 5>;

std::vector<Fields> rowsOf(const SalesRows& rows) {
    std::vector<Fields> out;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        Fields fields;
        for (std::size_t column = 0; column < SalesRows::kFields; ++column)
            fields[column] = std::string(rows.field(row, column));
        out.push_back(fields);
    }
    return out;
}

std::vector<std::string> namesOf(const SalesRows& rows) {
    std::vector<std::string> names;
    for (std::size_t row = 0; row < rows.size(); ++row)
        names.emplace_back(rows.field(row, 1));
    return names;
}

// Apple in GBK, and a line as the scale's records are written.
const std::string kGbkApple = "\xC6\xBB\xB9\xFB";
const std::string kGbkLine = "2026-12-07 10:00:00\f" + kGbkApple + "\f1.250\f5.00\f6.25\r\n";

} // namespace

TEST(SalesRecords, LinesSplitIntoFiveFields) {
    const struct {
        const char* what;
        std::string bytes;
        std::vector<Fields> rows;
    } cases[] = {
        {"joined by single form feeds", "t\fn\fw\fp\fa\r\n", {{"t", "n", "w", "p", "a"}}},
        {"bare LF and a last line without its end",
         "t\fn\fw\fp\fa\nu\fm\fx\fq\fb",
         {{"t", "n", "w", "p", "a"}, {"u", "m", "x", "q", "b"}}},
        {"the amount runs to the end of the line",
         "t\fn\fw\fp\fa\fmore\f\r\n",
         {{"t", "n", "w", "p", "a\fmore\f"}}},
        {"fewer separators leave the last fields empty",
         "t\fn\r\nonly\r\n",
         {{"t", "n", "", "", ""}, {"only", "", "", "", ""}}},
        {"empty fields and an empty line", "\f\f\f\f\r\n\r\n", {Fields{}, Fields{}}},
        {"a lone CR ends a line, as RecordFile reads it",
         "t\rx\fn\fw\fp\fa\r\r\n",
         {{"t", "", "", "", ""}, {"x", "n", "w", "p", "a"}, Fields{}}},
        {"no bytes, no rows", "", {}},
    };
    for (const auto& c : cases) {
        const SalesRecords records = SalesRecords::fromBytes(c.bytes);
        EXPECT_EQ(rowsOf(records), c.rows) << c.what;
    }
}

TEST(SalesRecords, LoadAndSaveGiveTheFileBackByteForByte) {
    TempDir dir;
    const auto file = dir / "record/dzcjl.rec";
    const std::string original = kGbkLine + "t\fn\fw\fp\fa\fmore\r\n" + "\f\f\f\f\r\n" + kGbkLine;
    writeBytes(file, original);
    const auto loaded = SalesRecords::load(file);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.value.size(), 4u);
    EXPECT_EQ(loaded.value.field(0, 1), kGbkApple);
    EXPECT_EQ(loaded.value.fileBytes(), original);
    ASSERT_TRUE(loaded.value.save(file).ok());
    EXPECT_EQ(readBytes(file), original);

    // What the system never writes is written the way it would: CR LF, four separators a line.
    const SalesRecords odd = SalesRecords::fromBytes("t\fn\nonly");
    EXPECT_EQ(odd.fileBytes(), "t\fn\f\f\f\r\nonly\f\f\f\f\r\n");
    EXPECT_EQ(SalesRecords::fromBytes(odd.fileBytes()).fileBytes(), odd.fileBytes());
}

TEST(SalesRecords, MissingUnreadableAndOddFiles) {
    TempDir dir;
    const auto missing = SalesRecords::load(dir / "record/dzcjl.rec");
    EXPECT_TRUE(missing.ok());
    EXPECT_TRUE(missing.value.empty());

    const auto file = dir / "record/dzcjl.rec";
    writeBytes(file, kGbkLine);
    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "record").c_str(), 0777);
    ::chmod(file.c_str(), 0200);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        const auto loaded = SalesRecords::load(file);
        return !loaded.ok() && loaded.result.path == file && loaded.value.empty();
    }));
    ::chmod(file.c_str(), 0644);

    std::filesystem::create_directories(dir / "record/folder.rec");
    const auto folder = SalesRecords::load(dir / "record/folder.rec");
    EXPECT_FALSE(folder.ok());
    EXPECT_TRUE(folder.value.empty());
    // Nor is a folder written over.
    EXPECT_FALSE(SalesRecords::fromBytes(kGbkLine).save(dir / "record/folder.rec").ok());
}

TEST(SalesRecords, FormFeedsAndLineBreaksInFieldsKeepTheLineWhole) {
    const struct {
        std::string text;
        std::size_t column;
        std::string stored;
    } cases[] = {
        {"a\fb", 1, "a b"},        // would shift the fields after it
        {"a\fb", 4, "a\fb"},       // the amount runs to the line end: kept
        {"a\r\nb", 0, "a b"},      // one line break, one space
        {"a\nb\rc", 4, "a b c"},   // lone LF and CR
        {"a\r\r\nb", 2, "a  b"},   // a CR, then a line break
        {kGbkApple, 1, kGbkApple}, // double-byte characters untouched
        {"", 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SalesRecords::storableField(c.text, c.column), c.stored) << c.text;

    // Through a save and a load, and through the append to the file.
    TempDir dir;
    SalesRecord odd;
    odd.fields = {"2026-12-07\n10:00", "pear\fs", "1\r\n2", "5.00\f", "6.25\fx\ny"};
    const std::vector<Fields> expected = {
        {"2026-12-07 10:00", "pear s", "1 2", "5.00 ", "6.25\fx y"}, Fields{"t", "", "", "", ""}};
    SalesRecords records;
    records.append(odd);
    records.append(SalesRecord{0, {"t", "", "", "", ""}});
    ASSERT_TRUE(records.save(dir / "a.rec").ok());
    EXPECT_EQ(rowsOf(SalesRecords::load(dir / "a.rec").value), expected);
    ASSERT_TRUE(SalesRecordFile::append(dir / "b.rec", {odd, SalesRecord{0, {"t"}}}).result.ok());
    EXPECT_EQ(readBytes(dir / "b.rec"), readBytes(dir / "a.rec"));
}

TEST(SalesRecords, DeletingRowsKeepsTheOthersInOrder) {
    const std::string bytes = "a\fA\r\nb\fB\r\nc\fC\r\nd\fD\r\ne\fE\r\n";
    const struct {
        std::vector<std::size_t> selected;
        std::vector<std::string> left;
    } cases[] = {
        {{}, {"A", "B", "C", "D", "E"}}, // confirmed with nothing selected: no change
        {{0}, {"B", "C", "D", "E"}},
        {{4}, {"A", "B", "C", "D"}},
        {{3, 1}, {"A", "C", "E"}},          // any order
        {{2, 2, 99}, {"A", "B", "D", "E"}}, // repeats and rows past the end ignored
        {{0, 1, 2, 3, 4}, {}},
    };
    TempDir dir;
    const auto file = dir / "dzcjl.rec";
    for (const auto& c : cases) {
        SalesRecords records = SalesRecords::fromBytes(bytes);
        records.erase(c.selected);
        EXPECT_EQ(namesOf(records), c.left);
        ASSERT_TRUE(records.save(file).ok());
        EXPECT_EQ(namesOf(SalesRecords::load(file).value), c.left);
    }
}
