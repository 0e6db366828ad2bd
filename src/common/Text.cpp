#include "Text.h"

namespace korvan::Text {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool sameIgnoringAsciiCase(std::string_view gbk, std::string_view other) {
    if (gbk.size() != other.size())
        return false;
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        if (static_cast<unsigned char>(gbk[i]) >= 0x81) { // a lead byte: two bytes as they are
            if (gbk[i] != other[i] || (i + 1 < gbk.size() && gbk[i + 1] != other[i + 1]))
                return false;
            ++i;
        } else if (fold(gbk[i]) != fold(other[i])) {
            return false;
        }
    }
    return true;
}

std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out(pattern);
    char mark = '1';
    for (std::string_view value : values) {
        const std::string placeholder = {'%', mark++};
        if (const auto at = out.find(placeholder); at != std::string::npos)
            out.replace(at, placeholder.size(), value);
    }
    return out;
}

void appendUtf8(std::string& out, char32_t code) {
    if ((code >= 0xD800 && code < 0xE000) || code > 0x10FFFF)
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace korvan::Text
