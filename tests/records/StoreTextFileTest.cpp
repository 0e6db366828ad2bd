#include "records/StoreTextFile.h"
#include "link/RecordBuilder.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::TempDir;
using korvan::test::writeBytes;

TEST(StoreTextFile, LinesByPositionMissingOnesEmptyExtraOnesIgnored) {
    TempDir dir;
    const auto file = dir / "record/xpwz.rec";
    struct Case {
        const char* bytes;
        StoreText expected;
    };
    const Case cases[] = {
        {"Corner Shop\r\n555-0100\r\nHigh Street 1\r\nignored\r\n",
         {"Corner Shop", "555-0100", "High Street 1"}},
        {"Corner Shop\r\n555-0100", {"Corner Shop", "555-0100", ""}}, // no line end at the end
        {"\r\n\r\nHigh Street 1\n", {"", "", "High Street 1"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        writeBytes(file, c.bytes);
        const Loaded<StoreText> loaded = StoreTextFile::load(file);
        EXPECT_TRUE(loaded.ok()) << c.bytes;
        EXPECT_EQ(loaded.value, c.expected) << c.bytes;
    }
    const auto missing = StoreTextFile::load(dir / "record/none.rec");
    EXPECT_TRUE(missing.ok());
    EXPECT_EQ(missing.value, StoreText{});
}

TEST(StoreTextFile, AnUnreadableFileIsReportedWithEmptyTexts) {
    TempDir dir;
    const auto file = dir / "record/xpwz.rec";
    writeBytes(file, "Corner Shop\r\n555-0100\r\nHigh Street 1\r\n");
    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "record").c_str(), 0777);
    ::chmod(file.c_str(), 0);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        const Loaded<StoreText> loaded = StoreTextFile::load(file);
        return !loaded.ok() && loaded.result.path == file && loaded.value == StoreText{};
    }));

    // Not a regular file: refused rather than read (a pipe would block).
    std::filesystem::create_directories(dir / "record/folder.rec");
    const auto folder = StoreTextFile::load(dir / "record/folder.rec");
    EXPECT_FALSE(folder.ok());
    EXPECT_NE(folder.result.message().find("folder.rec"), std::string::npos);
}

TEST(StoreText, EachTextHasItsOwnDownload) {
    const StoreText text{"Name", "Phone", "Line one\r\nline two"};
    const struct {
        StoreText::Field field;
        JobKind kind;
        const char* sent;
    } cases[] = {
        {StoreText::Field::StoreName, JobKind::StoreNameDownload, "Name"},
        {StoreText::Field::ShopPhone, JobKind::ShopPhoneDownload, "Phone"},
        {StoreText::Field::StoreAddress, JobKind::StoreAddressDownload, "Line one\r\nline two"},
    };
    for (const auto& c : cases) {
        const JobRequest request = text.downloadRequest(c.field);
        EXPECT_EQ(request.kind(), c.kind);
        EXPECT_EQ(RecordBuilder::build(request, 0), std::string(c.sent) + "\r\n");
    }
}

TEST(StoreTextFile, LineBreaksInTextsRoundTripWithOneLinePerText) {
    TempDir dir;
    const auto file = dir / "record/xpwz.rec";
    const StoreText texts[] = {
        {"Corner\r\nShop", "555-0100", "High Street 1\r\nNorth Town\r\n"},
        {"\n\xC9\xCC\xB5\xEA\n", "", "\r"}, // GBK text between bare line feeds; a lone CR
        {"", "", ""},
    };
    for (const StoreText& text : texts) {
        ASSERT_TRUE(StoreTextFile::save(file, text).ok());
        const std::string bytes = korvan::test::readBytes(file);
        // Three lines, whatever the texts hold.
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 3);
        const Loaded<StoreText> loaded = StoreTextFile::load(file);
        EXPECT_TRUE(loaded.ok());
        EXPECT_EQ(loaded.value, text);
    }
    ASSERT_TRUE(StoreTextFile::save(file, {"A\r\nB", "1", "C\nD"}).ok());
    EXPECT_EQ(korvan::test::readBytes(file), "A\x1F\x1E"
                                             "B\r\n1\r\nC\x1E"
                                             "D\r\n");

    // A failed save leaves the old file.
    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "record").c_str(), 0555);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        return !StoreTextFile::save(file, {"new", "", ""}).ok();
    }));
    ::chmod((dir / "record").c_str(), 0755);
    EXPECT_EQ(StoreTextFile::load(file).value, (StoreText{"A\r\nB", "1", "C\nD"}));
}
