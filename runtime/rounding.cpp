#include "runtime/rounding.h"

#include <cmath>

#include "runtime/runtime_error.h"

namespace wienbridge {

std::int32_t roundToInt32(double value, Quantity quantity)
{
    // Ties-to-even regardless of the current rounding mode.
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0.0)
        rounded -= std::copysign(1.0, value);
    // NaN fails both comparisons.
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        raise(ErrorKind::Overflow, quantity);
    return static_cast<std::int32_t>(rounded);
}

}  // namespace wienbridge
