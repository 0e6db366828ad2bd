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

TEST(TextCodec, TellsWellFormedUtf8) {
    struct Case {
        std::string bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"", true},
        {"plain ASCII that is longer than one word", true},
        {"商品 \xC2\xA9 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", true}, // up to U+10FFFF
        {"\xED\x9F\xBF", true},      // U+D7FF, just below the surrogates
        {"\xC9\xCC\xC6\xB7", false}, // GBK "商品"
        {"\xC0\xAF", false},         // overlong '/'
        {"\xE0\x80\xAF", false},     // overlong, three bytes
        {"\xF0\x80\x80\xAF", false}, // overlong, four bytes
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"abcdefgh\xE5\x95", false}, // cut off at the end, after a whole ASCII word
        {"\x80", false},             // a lone continuation byte
        {"\xE5\x95\x41", false},     // a lead byte followed by ASCII
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextCodec::isUtf8(c.bytes), c.utf8) << testing::PrintToString(c.bytes);
}

TEST(TextCodec, MarksBytesThatAreNotUtf8) {
    EXPECT_EQ(TextCodec::utf8Lossy("苹果"), "苹果");
    EXPECT_EQ(TextCodec::utf8Lossy("a\xFF"
                                   "b\xE8\x8B"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_TRUE(TextCodec::isUtf8(TextCodec::utf8Lossy("\xC0\xAF\xED\xA0\x80 x")));
}
