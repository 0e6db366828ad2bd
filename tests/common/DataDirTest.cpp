#include "common/DataDir.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

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
