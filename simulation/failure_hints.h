#pragma once

#include "run_inputs.h"
#include "runtime_error.h"

namespace wienbridge {

// Where in a run a failure arose: what decides which box the user must change.
enum class RunStage {
    ReadingRatio,
    ReadingTimeConstant,
    ReadingCrossover,
    ReadingSampleCount,
    Step,          // Dt = CR / (N * 0.1)
    SampleCount,   // 10 * N steps
    OpenLoopGain,  // Aol from CR and Fc
    StageGain,     // K from Aol and R1 / R2
    Coefficients,  // (3 - K) / CR and Dt / CR^2, the constants of every step
    Integration,   // the steps themselves
    Curve,         // Vo scaled to its peak for the plot
};

// The error with a second line, in Italian, naming the box and what to change
// there. `sofar` holds what the run had computed when it failed.
RuntimeError withHint(const RuntimeError& error, RunStage stage, const RunInputs& inputs,
                      const RunResult& sofar = {});

// Does one stage of a run, giving the error it raises, if any, the hint of that stage.
template <class Work>
auto explainingFailures(RunStage stage, const RunInputs& inputs, const RunResult& sofar, Work&& work)
{
    try {
        return work();
    } catch (const RuntimeError& error) {
        throw withHint(error, stage, inputs, sofar);
    }
}

}  // namespace wienbridge
