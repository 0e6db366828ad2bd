#include "labeldesign/LabelFile.h"
#include "labeldesign/LabelFileChoice.h"
#include "labeldesign/LabelSizeCode.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {

const std::string kTwoRows = "05\f40\f30\r\n"
                             "Price\fUnit price\f0\f12*24\f24*48\f2\f3\fTRUE\f2\f3\r\n"
                             "Code\fBar code\f90\f9*17\f5\f10\f20\fFALSE\f10\f20\fa\fb\r\n";

} // namespace

TEST(LabelFile, ReadsHeaderAndRowsAndWritesThemBackByteForByte) {
    TempDir dir;
    const auto file = dir / "label/2eng.bel";
    writeBytes(file, kTwoRows);

    const Loaded<Label> loaded = LabelFile::load(file);
    ASSERT_TRUE(loaded.ok());
    const Label& label = loaded.value;
    EXPECT_EQ(label.shopNumber, "05");
    EXPECT_EQ(label.width, "40");
    EXPECT_EQ(label.height, "30");
    ASSERT_EQ(label.elements.size(), 2u);
    EXPECT_EQ(label.elements[0].columns(),
              (std::array<std::string, 10>{"Price", "Unit price", "0", "12*24", "24*48", "2", "3",
                                           "TRUE", "2", "3"}));
    // The tenth column runs to the end of the line, form feeds included.
    EXPECT_EQ(label.elements[1].at(LabelElement::DownY), "20\fa\fb");
    EXPECT_FALSE(label.elements[1].ticked());

    const auto copy = dir / "label/copy.bel";
    ASSERT_TRUE(LabelFile::save(copy, label));
    EXPECT_EQ(readBytes(copy), kTwoRows);
}

TEST(LabelFile, LineEndsShortLinesAndEmptyFiles) {
    const struct {
        const char* bytes;
        Label expected;
    } cases[] = {
        // A bare LF reads like CR LF.
        {"1\f56\f35\nA\f\f0\f\f\f\f\f\f\f\n", {"1", "56", "35", {LabelElement({"A", "", "0"})}}},
        // Short lines leave the missing columns empty; an empty line is a row of empty columns.
        // The first line that falls short is noted (here the header, line 1).
        {"7\r\nA\fB\r\n\r\n", {"7", "", "", {LabelElement({"A", "B"}), LabelElement()}, 1}},
        {"7\f40\f30\r\nA\f\f\f\f\f\f\f\f\f\r\nA\fB\r\n",
         {"7", "40", "30", {LabelElement({"A"}), LabelElement({"A", "B"})}, 3}},
        // No first line: the default header.
        {"", {"", "40", "30", {}}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "label/x.bel", c.bytes);
        const auto loaded = LabelFile::load(dir / "label/x.bel");
        EXPECT_TRUE(loaded.ok()) << c.bytes;
        EXPECT_EQ(loaded.value, c.expected) << c.bytes;
    }
}

TEST(LabelFile, AMissingOrUnreadableFileIsReportedNotTakenForAnEmptyLabel) {
    TempDir dir;
    const auto missing = LabelFile::load(dir / "label/none.bel");
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.value, Label{});

    const auto file = dir / "label/2.bel";
    writeBytes(file, kTwoRows);
    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "label").c_str(), 0777);
    ::chmod(file.c_str(), 0);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        const auto loaded = LabelFile::load(file);
        return !loaded.ok() && loaded.result.path == file && loaded.value == Label{};
    }));

    // A folder where the file should be: refused, and a save there fails.
    std::filesystem::create_directories(dir / "label/folder.bel");
    EXPECT_FALSE(LabelFile::load(dir / "label/folder.bel").ok());
    EXPECT_FALSE(LabelFile::save(dir / "label/folder.bel", Label{}));
}

TEST(LabelFileChoice, PathPerLanguageUpToTheFirstFormFeed) {
    const std::vector<std::string> three = {".\\label\\2.bel\f", ".\\label\\2chn.bel\fx\fy",
                                            ".\\label\\2eng.bel\f"};
    const std::vector<std::string> noFormFeed = {".\\label\\2.bel", ".\\label\\2chn.bel\f"};
    const struct {
        const std::vector<std::string>* lines;
        const char* flag;
        const char* expected;
    } cases[] = {
        {&three, "chinese", ".\\label\\2chn.bel"},
        {&three, "english", ".\\label\\2eng.bel"},
        {&three, "", ".\\label\\2.bel"},
        {&three, "English", ".\\label\\2.bel"}, // the flag compares exactly
        // A line without a form feed gives an empty path; the language line may supply one.
        {&noFormFeed, "english", ""},
        {&noFormFeed, "chinese", ".\\label\\2chn.bel"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LabelFileChoice::pathText(*c.lines, c.flag), c.expected) << c.flag;
    EXPECT_EQ(LabelFileChoice::pathText({}, "english"), "");
}

TEST(LabelSizeCode, FirstCharacterOfTheFileName) {
    const struct {
        const char* name;
        const char* caption;
        int width, height;
    } cases[] = {
        {"1chn.bel", "1=56*35", 56, 35},
        {"2eng.bel", "2=40*30", 40, 30},
        {"3.bel", "3=60*40", 60, 40},
        {"4x.bel", "4", 0, 0},
        {"", "", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LabelSizeCode::caption(c.name), c.caption);
        const auto size = LabelSizeCode::size(c.name);
        EXPECT_EQ(size ? size->width : 0, c.width) << c.name;
        EXPECT_EQ(size ? size->height : 0, c.height) << c.name;
    }
}

TEST(LabelSizeCode, LabelFilesOfAFolderByName) {
    TempDir dir;
    for (const char* name : {"3eng.bel", "7shelf.BEL", "1chn.bel", "notes.txt", "2chn.bel.bak"})
        std::ofstream(dir / name) << "x";
    std::filesystem::create_directory(dir / "9.bel"); // a folder is no label file
    EXPECT_EQ(LabelSizeCode::labelFiles(dir.path()),
              (std::vector<std::string>{"1chn.bel", "3eng.bel", "7shelf.BEL"}));
    EXPECT_TRUE(LabelSizeCode::labelFiles(dir / "missing").empty());
}
