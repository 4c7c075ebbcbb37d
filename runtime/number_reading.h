#pragma once

#include <string_view>

#include "runtime/runtime_error.h"

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

// How much of a text the reading takes.
enum class TextReading {
    Whole,     // a number, then nothing but blanks
    Partly,    // a number, then something else: "3x" reads 3, "1,5,3" reads 1.5
    Blank,     // nothing but blanks, or nothing at all: reads 0
    NoNumber,  // something that does not start a number, "abc": reads 0
};
TextReading howTextReads(std::string_view text);

}  // namespace wienbridge
