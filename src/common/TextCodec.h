#pragma once
// Conversion between the data bytes (code page 936 / GBK) and the UTF-8 texts the operator reads.
// Data stays bytes everywhere in the core; this is the one place that converts.
#include <optional>
#include <string>
#include <string_view>

namespace korvan::TextCodec {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF). Files that may come in either encoding are told apart by this.
bool isUtf8(std::string_view bytes);
// The bytes as UTF-8 with every byte that is not part of a well-formed sequence made U+FFFD.
std::string utf8Lossy(std::string_view bytes);
// GBK bytes to UTF-8; nullopt when the bytes are not valid GBK.
std::optional<std::string> toUtf8(std::string_view gbk);
// GBK bytes to UTF-8 for display: every byte that is not valid GBK becomes U+FFFD.
std::string toUtf8Lossy(std::string_view gbk);
// UTF-8 to GBK bytes; nullopt when the text holds a character code page 936 cannot write.
std::optional<std::string> toGbk(std::string_view utf8);
// Whether the UTF-8 text can be written in code page 936.
bool fitsCodePage936(std::string_view utf8);
// Byte length of the UTF-8 text once written in code page 936 (nullopt when it cannot be).
std::optional<std::size_t> gbkLength(std::string_view utf8);

} // namespace korvan::TextCodec
