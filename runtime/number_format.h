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

}  // namespace wienbridge
