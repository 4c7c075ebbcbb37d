#pragma once

#include <cstring>
#include <optional>

#include "runtime_error.h"

namespace wienbridge::reference {

// The kind of run-time error an action raised, or nothing if it completed.
template <class Action>
std::optional<ErrorKind> failureOf(Action&& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.kind();
    }
    return std::nullopt;
}

// Equal to the last bit, NaNs included: what "the same double" means here.
inline bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace wienbridge::reference
