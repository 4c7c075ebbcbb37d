#include "runtime/runtime_error.h"

namespace wienbridge {

const char* RuntimeError::what() const noexcept
{
    switch (kind_) {
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::DivisionByZero:
        return "division by zero";
    case ErrorKind::SubscriptOutOfRange:
        return "subscript out of range";
    case ErrorKind::InvalidOperation:
        return "invalid floating-point operation";
    }
    return "run-time error";
}

void raise(ErrorKind kind, Quantity quantity)
{
    throw RuntimeError(kind, quantity);
}

}  // namespace wienbridge
