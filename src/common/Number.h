#pragma once
// Numbers are kept as text and read where they are used, the plain decimal way.
#include <string_view>

namespace korvan::Number {

// Leading white space, an optional sign, then the leading digits; no digits give 0. Values past
// the range of long are clamped to it.
long parseInt(std::string_view text);
// Leading white space, then the longest leading part that forms an optionally signed decimal
// number with optional fraction and exponent ("1.5", "-.5", "2e3"); none gives 0.
// Independent of the process locale.
double parseDecimal(std::string_view text);

} // namespace korvan::Number
