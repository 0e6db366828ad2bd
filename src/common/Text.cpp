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
