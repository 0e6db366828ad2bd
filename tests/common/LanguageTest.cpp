#include "common/Language.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

TEST(Language, LoadTakesTheFirstLine) {
    TempDir dir;
    writeBytes(dir / "language.rec", "english");
    Language::load(dir / "language.rec");
    EXPECT_EQ(Language::current(), Lang::English);
    writeBytes(dir / "language.rec", "chinese\r\nenglish\r\n");
    Language::load(dir / "language.rec");
    EXPECT_EQ(Language::current(), Lang::Chinese);
}

TEST(Language, EmptyFileGivesChineseAndOddValuesAreKept) {
    TempDir dir;
    writeBytes(dir / "language.rec", "");
    Language::load(dir / "language.rec");
    EXPECT_EQ(Language::flag(), "chinese");
    writeBytes(dir / "language.rec", "English");
    Language::load(dir / "language.rec");
    EXPECT_EQ(Language::flag(), "English");
    EXPECT_EQ(Language::current(), Lang::Unknown);
    // Unknown flags show the English (design-time) texts, never blank ones.
    EXPECT_STREQ((Tr{"确定", "OK"}.get()), "OK");
}

TEST(Language, MissingFileFollowsTheLocale) {
    TempDir dir;
    ::setenv("LC_ALL", "zh_CN.UTF-8", 1);
    Language::load(dir / "language.rec");
    EXPECT_EQ(Language::flag(), "chinese");
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    Language::load(dir / "language.rec");
    EXPECT_EQ(Language::flag(), "english");
    ::unsetenv("LC_ALL");
    EXPECT_FALSE(std::filesystem::exists(dir / "language.rec"));
}

TEST(Language, SaveWritesExactlySevenBytes) {
    TempDir dir;
    ASSERT_TRUE(Language::save(dir / "record/language.rec", kEnglish).ok());
    EXPECT_EQ(readBytes(dir / "record/language.rec"), "english");
    ASSERT_TRUE(Language::save(dir / "record/language.rec", kChinese).ok());
    ASSERT_TRUE(Language::save(dir / "record/language.rec", kChinese).ok());
    EXPECT_EQ(readBytes(dir / "record/language.rec"), "chinese");
    EXPECT_EQ(Language::current(), Lang::Chinese);
}
