#pragma once
// Small text steps the core needs in several places: white space trimmed, ASCII letters folded,
// numbered placeholders filled in, characters written as UTF-8.
#include <initializer_list>
#include <string>
#include <string_view>

namespace korvan::Text {

// Without the blanks, tabs and line breaks around it.
std::string_view trimmed(std::string_view text);
// ASCII letters in lower case; every other byte (a UTF-8 or GBK character) as it is.
std::string asciiLower(std::string_view text);
// Whether two code page 936 texts are equal when ASCII letters are folded ("Apple", "APPLE").
// A double-byte character is compared whole: its trail byte may look like an ASCII letter.
bool sameIgnoringAsciiCase(std::string_view gbk, std::string_view other);
// `pattern` with the first "%1" replaced by the first value, "%2" by the second, and so on.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> values);
// Appends the character `code` as UTF-8. A code that is no character (a UTF-16 surrogate, or past
// U+10FFFF) is written as the replacement character U+FFFD, so the text stays valid UTF-8.
void appendUtf8(std::string& out, char32_t code);

} // namespace korvan::Text
