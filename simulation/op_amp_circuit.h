#pragma once

#include <optional>

#include "simulation/circuit_theory.h"
#include "simulation/run_inputs.h"

namespace wienbridge {

// The smallest R1/R2 with which the circuit keeps oscillating, and the
// frequency it oscillates at there.
struct SustainingRatio {
    double ratio = 0.0;
    double frequency = 0.0;  // Hz: f0 / sqrt(1 + 3 G0 / Aol)
};

// What the continuous circuit does when its op-amp is not ideal but has one
// pole, A(s) = wt / s with wt CR = Aol: the amplifier lags, so the circuit
// oscillates lower and needs more gain than 3. With G0 = 1 + R1/R2,
// e = G0 / Aol and x = s CR, its natural modes are the roots of
//     e x^3 + (1 + 3e) x^2 + (3 + e - G0) x + 1 = 0.
struct OpAmpCircuit {
    // False when Aol is not positive and finite (no crossover frequency, a
    // negative CR or fc, an overflow), when CR is not positive, or when G0 / Aol
    // is too large for the cubic's coefficients to be doubles: there is no such
    // circuit to describe, and nothing below is set.
    bool exists = false;
    // From the mode that grows fastest (or dies slowest). Sustained when it is
    // an oscillation whose factor per period is within 1e-12 of 1: in floating
    // point its real part is never exactly 0.
    Regime regime = Regime::Damped;
    // Of the complex pair of modes, when there is one: its frequency, Hz, and
    // the factor of its amplitude per period, e^(2 pi Re / Im). The factor is
    // left out when it exceeds the largest double, and factorOverflows says so.
    std::optional<double> frequency;
    std::optional<double> factorPerPeriod;
    bool factorOverflows = false;
    // None when Aol <= 1: then the amplifier cannot make up the network's loss
    // at any ratio, and no R1/R2 sustains oscillation.
    std::optional<SustainingRatio> minimum;

    bool oscillates() const { return frequency.has_value(); }
};

// From the inputs of a run (CR, R1/R2) and the Aol the model worked out. Solves
// the cubic once, with + - * / and square roots alone in a fixed order, so
// every platform gives the same bits.
OpAmpCircuit opAmpCircuit(const RunInputs& inputs, const RunResult& result);

}  // namespace wienbridge
