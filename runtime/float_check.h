#pragma once

#include <cfenv>

#include "runtime_error.h"

// The floating-point test made after every stored result: a division by zero,
// an overflow or an invalid operation anywhere in the statement is an error even
// when the value that comes out is finite (0 * (1/0) is a finite-looking 0 only
// after an infinity went through it). Underflow and inexact results pass.
//
// The IEEE status flags are sticky, so a statement (or a whole block of them) is
// checked by clearing the flags before it and testing them after it.
namespace wienbridge {

constexpr int kFailingFlags = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;

inline void clearFloatingPointFlags() noexcept
{
    std::feclearexcept(FE_ALL_EXCEPT);
    asm volatile("" : : : "memory");
}

inline int raisedFloatingPointFlags() noexcept
{
    asm volatile("" : : : "memory");
    return std::fetestexcept(kFailingFlags);
}

// The error for a set of raised flags; division by zero wins over overflow,
// and overflow over an invalid operation, since the first causes the others.
ErrorKind errorForFlags(int flags) noexcept;

// Throws the error for the raised flags, if any, as a failure of `quantity`.
void raiseIfFlagged(int flags, Quantity quantity);

// The compiler treats arithmetic as free of side effects and may move it across
// the calls that clear and test the flags. Passing a value through this barrier
// pins it in place: computations that feed it are done before it, computations
// that read it are done after it.
template <class T>
inline void pinInPlace(T& value) noexcept
{
    asm volatile("" : "+m"(value) : : "memory");
}

// Evaluates one statement that computes `quantity` between a clear and a test
// of the flags and returns the value to store. The operands are passed in, and
// pinned after the clear, so that none of the arithmetic can be done ahead of it.
template <class Statement, class... Operands>
inline auto checkedStatement(Quantity quantity, Statement&& statement, Operands... operands)
{
    clearFloatingPointFlags();
    (pinInPlace(operands), ...);
    auto value = statement(operands...);
    pinInPlace(value);
    raiseIfFlagged(raisedFloatingPointFlags(), quantity);
    return value;
}

}  // namespace wienbridge
