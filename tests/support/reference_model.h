#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/runtime_error.h"
#include "simulation/run_inputs.h"
#include "simulation/sample_observer.h"

namespace wienbridge::test {

// What a run-time error says: its kind and what failed.
struct Failure {
    ErrorKind kind;
    Quantity quantity;
    bool operator==(const Failure&) const = default;
};

// The failure an action raised, or nothing if it completed.
template <class Action>
std::optional<Failure> failureOf(Action&& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return Failure{error.kind(), error.quantity()};
    }
    return std::nullopt;
}

// Equal to the last bit: what "the same double" means here.
inline bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Keeps every sample a run hands over, and checks they come in order, each once.
struct SampleRecorder final : SampleObserver {
    void begin(std::int64_t sampleCount) override { announced = sampleCount; }
    void observe(std::int64_t first, std::span<const double> vp_, std::span<const double> vo_) override
    {
        inOrder = inOrder && first == static_cast<std::int64_t>(vo.size()) + 1;
        vp.insert(vp.end(), vp_.begin(), vp_.end());
        vo.insert(vo.end(), vo_.begin(), vo_.end());
    }
    std::vector<double> vp, vo;
    std::int64_t announced = -1;
    bool inOrder = true;
};

// Runs the streaming model and, beside it, the algorithm as written: the
// integral re-summed from the first sample at every step, every statement
// checked on its own (quadratic in N, kept only for this comparison). Returns
// what differs between the two, empty when they end alike (the same error of
// the same quantity, or the same Dt, Aol, K and peak) after the same samples,
// bit for bit, and tells whether the run completed.
std::string differenceFromReference(const RunInputs& in, bool* completed = nullptr);

}  // namespace wienbridge::test
