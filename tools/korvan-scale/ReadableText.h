#pragma once
// The store folder shows data bytes (code page 936) as UTF-8 text a person can read. Bytes that
// are not text (control bytes, broken GBK such as a name cut inside a character) are written as
// escapes, so every value fits on one line and can be turned back into the exact bytes.
#include <optional>
#include <string>
#include <string_view>

namespace korvan::sim::ReadableText {

// GBK bytes as UTF-8. Escapes: \\ \t \r \n \f, and \xNN for any other control byte and every
// byte that is not part of a valid GBK character.
std::string fromGbk(std::string_view gbk);
// The inverse of fromGbk: nullopt when the text has a bad escape or a character that code page
// 936 cannot write.
std::optional<std::string> toGbk(std::string_view text);
// Bytes as upper-case hex pairs separated by spaces ("AA 0D").
std::string hex(std::string_view bytes);

} // namespace korvan::sim::ReadableText
