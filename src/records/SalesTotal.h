#pragma once
// The total under the record list: the amounts of the rows shown, added up.
#include <string>
#include <string_view>

#include "SalesRows.h"

namespace korvan::SalesTotal {

// A field read as the total reads field 4: a leading decimal number (optional sign, fraction and
// exponent); text without one counts 0.
double value(std::string_view field);
// The sum of field 4 of every row, each read by value(), in double precision and row order.
double sum(const SalesRows& rows);
// The sum with exactly two decimals and a point whatever the process locale ("3.75"); no rows give
// an empty text, not "0.00".
std::string text(const SalesRows& rows);
// A number with `decimals` decimals and a point whatever the locale, rounded as "%.2f" rounds.
std::string fixed(double number, int decimals = 2);

} // namespace korvan::SalesTotal
