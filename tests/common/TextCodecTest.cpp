#include "common/TextCodec.h"
#include "common/Text.h"

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
    const std::pair<std::string, bool> cases[] = {
        {"plain ASCII, longer than a word", true},
        {"商品 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF \xED\x9F\xBF", true}, // U+10FFFF, U+D7FF
        {"\xC9\xCC\xC6\xB7", false},                                   // GBK
        // Overlong forms.
        {"\xC0\xAF", false},
        {"\xE0\x80\xAF", false},
        {"\xF0\x80\x80\xAF", false},
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"abcdefgh\xE5\x95", false}, // cut short after a whole ASCII word
    };
    for (const auto& [bytes, utf8] : cases)
        EXPECT_EQ(TextCodec::isUtf8(bytes), utf8) << testing::PrintToString(bytes);
    EXPECT_EQ(TextCodec::utf8Lossy("a\xFF"
                                   "b\xE8\x8B"
                                   "c苹"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD\xEF\xBF\xBD"
              "c苹");
}

TEST(Text, WritesACharacterAsUtf8AndANonCharacterAsTheReplacement) {
    const std::pair<char32_t, std::string> cases[] = {
        {U'A', "A"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x1F600, "\xF0\x9F\x98\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0xD83D, "\xEF\xBF\xBD"},   // a lone surrogate
        {0x110000, "\xEF\xBF\xBD"}, // past the last character
    };
    for (const auto& [code, bytes] : cases) {
        std::string out = "x";
        Text::appendUtf8(out, code);
        EXPECT_EQ(out, "x" + bytes) << std::hex << static_cast<unsigned>(code);
    }
}
