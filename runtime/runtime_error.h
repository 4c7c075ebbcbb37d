#pragma once

#include <cstdint>
#include <exception>

namespace wienbridge {

// The kinds of failure a computation can run into. Each user action reports at most one.
enum class ErrorKind {
    Overflow,
    DivisionByZero,
    SubscriptOutOfRange,
    InvalidOperation,
};

// What was being computed when a check failed. With the kind, it decides what
// the user is told to change; the texts live with the program's messages.
enum class Quantity : std::uint8_t {
    RatioText,          // the number in the R1/R2 box
    TimeConstantText,   // CR in microseconds, and CR in seconds from it
    CrossoverText,      // fc in MHz
    SampleCountText,    // N, rounded to a 32-bit integer
    Step,               // Dt = CR / (N * 0.1)
    SampleCount,        // 10 * N samples, numbered up to 10 * N + 1
    OpenLoopGain,       // Aol from CR and Fc
    StageGain,          // Aol / (Aol * (1 / (Ratio + 1)) + 1)
    GainRounding,       // K, the stage gain rounded to a 32-bit integer
    GainMargin,         // 3 - K, a 32-bit integer
    DampingOverCr,      // (3 - K) / CR
    StepOverCrSquared,  // Dt / CR^2
    Growth,             // the steps themselves: the samples leave the double range
    CurveHeight,        // Vo scaled to the peak for the plot
    ReadoutTime,        // the time under the pointer
    ReadoutVoltage,     // the voltage under the pointer
};

// The one error type every check throws: its kind and what failed. what() is a
// short English name for logs; the user reads the Italian of the messages module.
class RuntimeError : public std::exception {
public:
    RuntimeError(ErrorKind kind, Quantity quantity) noexcept : kind_(kind), quantity_(quantity) {}
    ErrorKind kind() const noexcept { return kind_; }
    Quantity quantity() const noexcept { return quantity_; }
    const char* what() const noexcept override;

private:
    ErrorKind kind_;
    Quantity quantity_;
};

[[noreturn]] void raise(ErrorKind kind, Quantity quantity);

}  // namespace wienbridge
