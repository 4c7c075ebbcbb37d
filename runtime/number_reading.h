#pragma once

#include <string_view>

namespace wienbridge {

// The number at the start of a text, read the same way in every locale:
// leading spaces and tabs are skipped, then the longest prefix of the form
// [+-]digits[.digits] or [+-].digits with an optional exponent e/E[+-]digits
// is converted with correct rounding. "." is always the decimal point; a comma
// or any other character ends the number ("1,5" reads 1, "15e" reads 15).
// A text with no number reads 0. A number too large for a double raises an
// overflow error; one too small to represent reads as the nearest subnormal or 0.
double readNumber(std::string_view text);

}  // namespace wienbridge
