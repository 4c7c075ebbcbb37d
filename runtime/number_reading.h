#pragma once

#include <string_view>

#include "runtime_error.h"

namespace wienbridge {

// The number at the start of a text, read the same way in every locale:
// leading spaces and tabs are skipped, then the longest prefix of the form
// [+-]digits[sep[digits]] or [+-]sep digits, where sep is "." or ",", with an
// optional exponent e/E[+-]digits is converted with correct rounding. Both
// separators are decimal points, never grouping: "1,5" and "1.5" read 1.5,
// "1.000" reads 1, and a second separator ends the number ("1,5,3" reads 1.5).
// An exponent counts only if digits follow ("15e" reads 15, "1.e2" reads 100).
// A text with no number reads 0. A number too large for a double raises an
// overflow error of `box`; one too small to represent reads as the nearest
// subnormal, or as a zero of its sign ("-1e-400" reads -0).
double readNumber(std::string_view text, Quantity box);

// Whether the reading takes the whole text but blanks: "1.000" and "3x" are
// read only in part, as 1 and 3.
bool readsWhole(std::string_view text);

}  // namespace wienbridge
