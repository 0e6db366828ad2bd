#include "common/DataDir.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;
namespace fs = std::filesystem;

TEST(DataDir, SeedsOnlyWhatIsMissing) {
    TempDir defaults, data;
    writeBytes(defaults / "record/tx.rec", "Network\r\n");
    writeBytes(defaults / "record/spsm.rec", "1\f\r\n");
    writeBytes(defaults / "label/1.bel", "L");
    writeBytes(data / "record/tx.rec", "USB\r\n");
    DataDir dir(data.path());
    ASSERT_TRUE(dir.seedFrom(defaults.path()));
    EXPECT_EQ(readBytes(dir.record("tx.rec")), "USB\r\n");
    EXPECT_EQ(readBytes(dir.record("spsm.rec")), "1\f\r\n");
    EXPECT_EQ(readBytes(dir.label("1.bel")), "L");
    EXPECT_FALSE(dir.seedFrom(data / "nowhere"));
}

TEST(DataDir, ResolvesWindowsPaths) {
    DataDir dir("/data");
    EXPECT_EQ(dir.resolve(".\\label\\2.bel"), std::filesystem::path("/data/label/2.bel"));
    EXPECT_EQ(dir.resolve("label/3.bel"), std::filesystem::path("/data/label/3.bel"));
    EXPECT_EQ(dir.resolve("/abs/x.bel"), std::filesystem::path("/abs/x.bel"));
}

TEST(DataDir, ShippedDefaultsExist) {
    EXPECT_TRUE(std::filesystem::is_directory(DataDir::defaultsDir() / "record"));
}

TEST(DataDir, OneRuleFindsTheDataFolder) {
    TempDir dir;
    const fs::path old = dir / "old"; // a data folder copied from an older installation
    fs::create_directories(old / "record");
    const fs::path plain = dir / "home";
    fs::create_directories(plain);
    const struct {
        fs::path given;
        fs::path cwd;
        const char* xdg;
        const char* home;
        fs::path expected;
    } cases[] = {
        {dir / "given/./x/..", old, "/xdg", "/h", dir / "given/"},
        {{}, old, "/xdg", "/h", old},
        {{}, plain, "/xdg", "/h", "/xdg/korvan"},
        {{}, plain, "", "/h", "/h/.local/share/korvan"},
        {{}, plain, "relative/xdg", "/h", "/h/.local/share/korvan"}, // not absolute: ignored
        {{}, plain, nullptr, nullptr, "/.local/share/korvan"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DataDir::locate(c.given, c.cwd, c.xdg, c.home), c.expected) << c.given;

    // The user's folder is made and seeded on first use; an existing file is kept.
    const DataDir fresh(dir / "xdg/korvan");
    ASSERT_TRUE(fresh.prepare());
    EXPECT_TRUE(fs::exists(fresh.record("dqlabel.rec")));
    EXPECT_TRUE(fs::exists(fresh.label("2eng.bel")));
    writeBytes(old / "record/file", "x");
    EXPECT_FALSE(DataDir(old / "record/file/x").prepare())
        << "a folder cannot be made under a file";
}
