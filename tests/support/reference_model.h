#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "run_inputs.h"
#include "runtime_error.h"
#include "sample_observer.h"
#include "support/failure.h"

namespace wienbridge::test {

using reference::failureOf;
using reference::sameBits;

// Keeps every sample a run hands over, and checks they come in order, each once.
struct SampleRecorder final : SampleObserver {
    void observe(std::int64_t first, std::span<const double> vp_, std::span<const double> vo_) override
    {
        inOrder = inOrder && first == static_cast<std::int64_t>(vo.size()) + 1;
        vp.insert(vp.end(), vp_.begin(), vp_.end());
        vo.insert(vo.end(), vo_.begin(), vo_.end());
    }
    std::vector<double> vp, vo;
    bool inOrder = true;
};

// A run as its algorithm is written: the integral re-summed from the first
// sample at every step, every statement checked on its own. Quadratic in N,
// kept only to prove that the streaming model gives the same doubles.
struct ReferenceRun {
    std::optional<ErrorKind> failure;
    RunResult result;
    std::vector<double> vp, vo;  // the samples whose step completed
};
ReferenceRun runReference(const RunInputs& in);

}  // namespace wienbridge::test
