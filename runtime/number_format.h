#pragma once

#include <string>
#include <string_view>

namespace wienbridge {

// Appends the shortest text that reads back as the same double, with "." as
// the decimal point ("0.00015915", "1e+21"): how the command line and the CSV
// write numbers, the same on every platform.
void appendShortest(std::string& out, double value);

// The text of a number for the patterns "0.00" (decimals = 2) and "0.000"
// (decimals = 3): at least one integer digit, exactly that many decimals, the
// given decimal separator, no grouping, a leading minus for negatives. A value
// that rounds to zero is written without a sign ("0.00", never "-0.00").
// Rounding is to the nearest, exact halves of the binary value to even.
std::string formatFixed(double value, int decimals, std::string_view decimalSeparator);

// formatFixed while the value has at most 15 integer digits (|value| < 1e15);
// beyond, the same decimals in scientific form, "1,83E+21": a curve's largest
// values stay short enough to read.
std::string formatFixedOrScientific(double value, int decimals, std::string_view decimalSeparator);

// Four significant digits and an SI prefix from n to G, then the unit:
// "1,592 kHz", "159,2 µs" (µ in UTF-8), "0,000 s". The digits are those of
// the shortest decimal that reads back as the value, rounded with halves away
// from zero, so that 0.00015915 s, as typed, is "159,2 µs"; the prefix follows
// the rounded value, so 999.96 Hz is "1,000 kHz". Outside n to G, scientific
// form with three decimals and at least two exponent digits: "2,300E+18 V".
std::string formatEngineering(double value, std::string_view unit, std::string_view decimalSeparator);

// Four significant digits without a prefix, for numbers without a unit:
// "0,02651", "33,50", "0,000"; scientific form as above when the rounded value
// is at least 1e9 or, other than 0, below 1e-9.
std::string formatSignificant(double value, std::string_view decimalSeparator);

}  // namespace wienbridge
