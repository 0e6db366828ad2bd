#include "common/TextCodec.h"

#include <gtest/gtest.h>

using namespace korvan;

TEST(TextCodec, RoundTripsChineseAndAscii) {
    const std::string utf8 = "商品 Apple 苹果";
    auto gbk = TextCodec::toGbk(utf8);
    ASSERT_TRUE(gbk);
    EXPECT_EQ(*gbk, "\xC9\xCC\xC6\xB7 Apple \xC6\xBB\xB9\xFB");
    EXPECT_EQ(TextCodec::toUtf8(*gbk), utf8);
    EXPECT_EQ(TextCodec::gbkLength("苹果ab"), 6u);
    EXPECT_EQ(TextCodec::gbkLength(""), 0u);
}

TEST(TextCodec, RefusesWhatCodePage936CannotHold) {
    EXPECT_FALSE(TextCodec::fitsCodePage936("emoji \xF0\x9F\x98\x80"));
    EXPECT_FALSE(TextCodec::fitsCodePage936("\xE0\xB8\x81")); // Thai
    EXPECT_TRUE(TextCodec::fitsCodePage936("繁體也可以"));
    EXPECT_FALSE(TextCodec::gbkLength("\xF0\x9F\x98\x80").has_value());
    EXPECT_FALSE(TextCodec::toGbk("bad utf8 \xFF").has_value());
}

TEST(TextCodec, InvalidGbkIsReportedAndShownLossily) {
    const std::string bad = "ab\xFF"
                            "c\xC9\xCC";
    EXPECT_FALSE(TextCodec::toUtf8(bad).has_value());
    EXPECT_EQ(TextCodec::toUtf8Lossy(bad), "ab\xEF\xBF\xBD"
                                           "c商");
    // A lead byte cut off at the end.
    EXPECT_EQ(TextCodec::toUtf8Lossy("x\xC9"), "x\xEF\xBF\xBD");
}
