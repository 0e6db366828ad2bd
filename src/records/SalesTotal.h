#pragma once
// The total under the record list: the amounts of the rows shown, added up.
#include <string>

#include "SalesRows.h"

namespace korvan::SalesTotal {

// The sum of field 4 of every row, each read as a leading decimal number (optional sign, fraction
// and exponent; text without one counts 0), in double precision and row order.
double sum(const SalesRows& rows);
// The sum with exactly two decimals and a point whatever the process locale ("3.75"); no rows give
// an empty text, not "0.00".
std::string text(const SalesRows& rows);

} // namespace korvan::SalesTotal
