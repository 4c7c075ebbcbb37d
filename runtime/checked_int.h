#pragma once

#include <cstdint>

#include "runtime/runtime_error.h"

// 32-bit signed arithmetic that reports overflow instead of wrapping. The
// result of two 32-bit operands always fits in 64 bits, where it is exact.
namespace wienbridge {

inline std::int32_t checkedInt32(std::int64_t exact, Quantity quantity)
{
    if (exact < INT32_MIN || exact > INT32_MAX)
        raise(ErrorKind::Overflow, quantity);
    return static_cast<std::int32_t>(exact);
}

inline std::int32_t checkedAdd(std::int32_t a, std::int32_t b, Quantity quantity)
{
    return checkedInt32(std::int64_t{a} + b, quantity);
}

inline std::int32_t checkedSub(std::int32_t a, std::int32_t b, Quantity quantity)
{
    return checkedInt32(std::int64_t{a} - b, quantity);
}

inline std::int32_t checkedMul(std::int32_t a, std::int32_t b, Quantity quantity)
{
    return checkedInt32(std::int64_t{a} * b, quantity);
}

}  // namespace wienbridge
