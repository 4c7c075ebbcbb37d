#include "runtime/float_check.h"

namespace wienbridge {

ErrorKind errorForFlags(int flags) noexcept
{
    if (flags & FE_DIVBYZERO)
        return ErrorKind::DivisionByZero;
    if (flags & FE_OVERFLOW)
        return ErrorKind::Overflow;
    return ErrorKind::InvalidOperation;
}

void raiseIfFlagged(int flags, Quantity quantity)
{
    if (flags & kFailingFlags)
        raise(errorForFlags(flags), quantity);
}

}  // namespace wienbridge
