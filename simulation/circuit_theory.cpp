#include "simulation/circuit_theory.h"

#include <cmath>
#include <numbers>

namespace wienbridge {

Regime regimeOf(std::int32_t gain)
{
    return gain < 3 ? Regime::Damped : gain == 3 ? Regime::Sustained : Regime::Growing;
}

CircuitTheory circuitTheory(const RunInputs& inputs, const RunResult& result)
{
    CircuitTheory t;
    t.regime = regimeOf(result.K);
    const double aol = result.Aol;
    t.stageGain = aol / (aol * (1 / (inputs.Ratio + 1)) + 1);
    t.naturalFrequency = 1 / (2 * std::numbers::pi * inputs.CR);
    t.dampingRatio = (3.0 - result.K) / 2;
    // K is an integer, so the circuit oscillates only with ζ = 1/2, 0 or -1/2,
    // and the factor is e^(∓2π/√3) or 1. The two exponentials are written out,
    // correctly rounded, because the platforms' exp differ in the last bit and
    // the results must not.
    if (std::fabs(t.dampingRatio) < 1) {
        t.frequency = t.naturalFrequency * std::sqrt(1 - t.dampingRatio * t.dampingRatio);
        t.factorPerPeriod = t.dampingRatio > 0   ? 0.026579933476419489979
                            : t.dampingRatio < 0 ? 37.622366545317150299
                                                 : 1.0;
    }
    return t;
}

}  // namespace wienbridge
