#pragma once

#include <string>
#include <string_view>

namespace wienbridge {

// The text of a number for the patterns "0.00" (decimals = 2) and "0.000"
// (decimals = 3): at least one integer digit, exactly that many decimals, the
// given decimal separator, no grouping, a leading minus for negatives. A value
// that rounds to zero is written without a sign ("0.00", never "-0.00").
// Rounding is to the nearest, exact halves of the binary value to even.
std::string formatFixed(double value, int decimals, std::string_view decimalSeparator);

}  // namespace wienbridge
