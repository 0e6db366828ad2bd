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

} // namespace korvan::Text
