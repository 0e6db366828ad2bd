#include "Number.h"

#include <charconv>
#include <climits>
#include <string>

namespace korvan::Number {
namespace {
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
std::size_t skipSpace(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && isSpace(t[i]))
        ++i;
    return i;
}
} // namespace

long parseInt(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        int digit = text[i] - '0';
        if (!negative) {
            if (value > (LONG_MAX - digit) / 10)
                return LONG_MAX;
            value = value * 10 + digit;
        } else {
            if (value < (LONG_MIN + digit) / 10)
                return LONG_MIN;
            value = value * 10 - digit;
        }
    }
    return value;
}

double parseDecimal(std::string_view text) {
    text.remove_prefix(skipSpace(text));
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++intDigits;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j]))
            ++j, ++fracDigits;
        if (intDigits + fracDigits > 0)
            i = j;
    }
    if (intDigits + fracDigits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        std::size_t expDigits = 0;
        while (j < text.size() && isDigit(text[j]))
            ++j, ++expDigits;
        if (expDigits > 0)
            i = j;
    }
    std::string number(text.substr(0, i));
    // from_chars takes no leading '+'.
    const char* first = number.data() + (number[0] == '+' ? 1 : 0);
    double value = 0.0;
    // Out of range leaves the value at 0: such a text is no amount a scale can print.
    std::from_chars(first, number.data() + number.size(), value);
    return value;
}

} // namespace korvan::Number
