#pragma once

#include <cfenv>

#include "runtime/runtime_error.h"

// GCC and Clang (MinGW-w64's and clang-cl among them) accept GNU asm
// statements, which make barriers that cost no instruction; other compilers
// get standard C++ that costs a few loads and stores.
#if defined(__GNUC__) || defined(__clang__)
#define WIENBRIDGE_GNU_ASM 1
#else
#define WIENBRIDGE_GNU_ASM 0
#include <atomic>
#include <cstddef>
#include <type_traits>
#endif

// MSVC may fold or reorder floating-point arithmetic across the calls that
// clear and test the flags unless told that the code reads them.
#if defined(_MSC_VER) && !defined(__clang__)
#pragma fenv_access(on)
#endif

// The floating-point test made after every stored result: a division by zero,
// an overflow or an invalid operation anywhere in the statement is an error even
// when the value that comes out is finite (0 * (1/0) is a finite-looking 0 only
// after an infinity went through it). Underflow and inexact results pass.
//
// The IEEE status flags are sticky, so a statement (or a whole block of them) is
// checked by clearing the flags before it and testing them after it.
namespace wienbridge {

constexpr int kFailingFlags = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;

// Keeps the compiler from moving loads and stores across the point where it stands.
inline void compilerBarrier() noexcept
{
#if WIENBRIDGE_GNU_ASM
    asm volatile("" : : : "memory");
#else
    std::atomic_signal_fence(std::memory_order_seq_cst);
#endif
}

#if WIENBRIDGE_GNU_ASM && defined(__x86_64__)

// MinGW-w64's feclearexcept and fetestexcept execute cpuid at every call to ask whether the
// processor has SSE, and a virtual machine traps every cpuid: that made the Windows build half
// as slow again as the Linux one. Every x86-64 has SSE, so these do what both C libraries do,
// without asking. The x87 unit keeps flags of its own (MinGW's fmod and long double use it):
// they are cleared and tested too.
inline void clearFloatingPointFlags() noexcept
{
    unsigned int mxcsr;
    asm volatile("fnclex\n\tstmxcsr %0" : "=m"(mxcsr) : : "memory");
    mxcsr &= ~static_cast<unsigned int>(FE_ALL_EXCEPT);
    asm volatile("ldmxcsr %0" : : "m"(mxcsr) : "memory");
}

inline int raisedFloatingPointFlags() noexcept
{
    unsigned short x87;
    unsigned int mxcsr;
    asm volatile("fnstsw %0\n\tstmxcsr %1" : "=m"(x87), "=m"(mxcsr) : : "memory");
    return static_cast<int>(x87 | mxcsr) & kFailingFlags;
}

#else

inline void clearFloatingPointFlags() noexcept
{
    std::feclearexcept(FE_ALL_EXCEPT);
    compilerBarrier();
}

inline int raisedFloatingPointFlags() noexcept
{
    compilerBarrier();
    return std::fetestexcept(kFailingFlags);
}

#endif

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
#if WIENBRIDGE_GNU_ASM
    // The asm claims to read and rewrite the value in memory.
    asm volatile("" : "+m"(value) : : "memory");
#else
    // Its bytes go out to a volatile copy and come back from it: the compiler
    // must have the value before the copy and cannot know it after.
    static_assert(std::is_trivially_copyable_v<T>);
    volatile unsigned char copy[sizeof(T)];
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        copy[i] = bytes[i];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = copy[i];
    compilerBarrier();
#endif
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
