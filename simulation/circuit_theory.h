#pragma once

#include <cstdint>
#include <optional>

#include "simulation/run_inputs.h"

namespace wienbridge {

// How the output of a run behaves, from the stage gain K alone.
enum class Regime {
    Damped,     // K < 3: dies away
    Sustained,  // K = 3: keeps its amplitude
    Growing,    // K > 3: grows until the numbers overflow
};

Regime regimeOf(std::int32_t gain);

// What the continuous circuit does with the same K and CR, to set beside what
// the sampled run measured: the run tends to it as N grows.
struct CircuitTheory {
    Regime regime = Regime::Sustained;
    double stageGain = 0.0;         // Aol / (Aol (1 / (R1/R2 + 1)) + 1), before rounding gives K
    double naturalFrequency = 0.0;  // f0 = 1 / (2π CR), Hz
    double dampingRatio = 0.0;      // ζ = (3 - K) / 2
    // When |ζ| < 1: f0 √(1 - ζ²), Hz, and e^(-2πζ / √(1 - ζ²)), the amplitude's
    // factor per period; none when the circuit does not oscillate.
    std::optional<double> frequency;
    std::optional<double> factorPerPeriod;

    bool oscillates() const { return frequency.has_value(); }
};

// From the inputs of a run and the Aol and K it worked out.
CircuitTheory circuitTheory(const RunInputs& inputs, const RunResult& result);

}  // namespace wienbridge
