#pragma once

#include <cstdint>

#include "runtime_error.h"

// 32-bit signed arithmetic that reports overflow instead of wrapping.
namespace wienbridge {

inline std::int32_t checkedAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        raise(ErrorKind::Overflow);
    return r;
}

inline std::int32_t checkedSub(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        raise(ErrorKind::Overflow);
    return r;
}

inline std::int32_t checkedMul(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        raise(ErrorKind::Overflow);
    return r;
}

}  // namespace wienbridge
