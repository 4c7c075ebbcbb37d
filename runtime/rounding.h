#pragma once

#include <cstdint>

#include "runtime/runtime_error.h"

namespace wienbridge {

// Nearest 32-bit integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// NaN and values outside the 32-bit range raise an overflow error of `quantity`.
std::int32_t roundToInt32(double value, Quantity quantity);

}  // namespace wienbridge
