#include "common/ByteLimit.h"

#include <gtest/gtest.h>

using namespace korvan;

TEST(ByteLimit, EditsThatFitOrShortenAreTakenAndNothingUnsavableComesIn) {
    using Lines = ByteLimit::Lines;
    const char* const kUndecodable = "\xEF\xBF\xBD"; // U+FFFD: a file byte that is not GBK
    const std::string emoji = "\xF0\x9F\x98\x80";
    const struct {
        const char* what;
        std::size_t limit;
        Lines lines;
        std::string now, next;
        bool taken;
    } cases[] = {
        {"two bytes a Chinese character: at the limit", 6, Lines::Single, "苹果", "苹果梨", true},
        {"one byte over", 6, Lines::Single, "苹果梨", "苹果梨x", false},
        {"a file's text over the limit may shrink", 6, Lines::Single, "苹果梨xy", "苹果梨x", true},
        {"but not stay as long", 6, Lines::Single, "苹果梨x", "苹果梨y", false},
        {"undecodable bytes: only shorter texts", 9, Lines::Single,
         std::string("ab") + kUndecodable, std::string("abc") + kUndecodable, false},
        {"nor can one be typed", 9, Lines::Single, "ab", std::string("ab") + kUndecodable, false},
        {"once it is gone the text may grow", 9, Lines::Single, "ab", "abc", true},
        {"a character code page 936 lacks", 9, Lines::Single, "ab", "ab" + emoji, false},
        // Refused also where the text shrinks or held one already: it could never be saved.
        {"unwritable, even when shortening", 4, Lines::Single, "abcdef" + emoji, "abc" + emoji,
         false},
        {"a control character pasted in", 9, Lines::Single, "ab", "a\fb", false},
        {"a file's control character stays", 9, Lines::Single, "5\t5", "5\t51", true},
        {"a line break in a single line is a control", 9, Lines::Single, "ab", "a\nb", false},
        {"in a multi-line text it weighs CR LF", 4, Lines::Multi, "ab", "ab\n", true},
        {"two bytes, past the limit", 4, Lines::Multi, "abc", "abc\n", false},
        {"a tab in a multi-line text", 9, Lines::Multi, "ab", "a\tb", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ByteLimit(c.limit, c.lines).allows(c.next, c.now), c.taken) << c.what;
}
