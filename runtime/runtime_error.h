#pragma once

#include <stdexcept>
#include <string_view>

namespace wienbridge {

// The kinds of failure a computation can run into. Each user action reports at most one.
enum class ErrorKind {
    Overflow,
    DivisionByZero,
    SubscriptOutOfRange,
    OutOfMemory,
    InvalidOperation,
};

// The Italian text shown to the user for a kind of failure.
std::string_view italianMessage(ErrorKind kind) noexcept;

// The one error type every check throws. what() is the Italian message.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorKind kind);
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

[[noreturn]] void raise(ErrorKind kind);

}  // namespace wienbridge
