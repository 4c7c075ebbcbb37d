#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace wienbridge {

// The kinds of failure a computation can run into. Each user action reports at most one.
enum class ErrorKind {
    Overflow,
    DivisionByZero,
    SubscriptOutOfRange,
    InvalidOperation,
};

// The Italian name of a kind of failure, the first line of what the user reads.
std::string_view italianMessage(ErrorKind kind) noexcept;

// The one error type every check throws: its kind and, once the code that knows
// which input caused it has added one, a line in Italian that names the box and
// what to change there. what() is the name alone.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorKind kind, std::string hint = {});
    ErrorKind kind() const noexcept { return kind_; }
    const std::string& hint() const noexcept { return hint_; }
    // The name, then the hint on a line of its own when there is one.
    std::string fullText() const;

private:
    ErrorKind kind_;
    std::string hint_;
};

[[noreturn]] void raise(ErrorKind kind);

}  // namespace wienbridge
