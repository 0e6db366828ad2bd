#include "SalesTotal.h"

#include "common/Number.h"

#include <charconv>

namespace korvan::SalesTotal {

double value(std::string_view field) {
    return Number::parseDecimal(field);
}

double sum(const SalesRows& rows) {
    double total = 0.0;
    const std::size_t size = rows.size();
    for (std::size_t row = 0; row < size; ++row)
        total += value(rows.field(row, SalesRows::kFields - 1));
    return total;
}

std::string text(const SalesRows& rows) {
    if (rows.size() == 0)
        return {};
    return fixed(sum(rows));
}

std::string fixed(double number, int decimals) {
    // to_chars rounds as printf's "%.2f" does, but never takes the locale's decimal comma.
    char digits[400]; // the longest double in fixed notation (1.8e308) with a few decimals fits
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, number, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return {};
    return std::string(digits, end);
}

} // namespace korvan::SalesTotal
