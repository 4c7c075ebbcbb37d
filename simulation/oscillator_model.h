#pragma once

#include "module_state.h"

namespace wienbridge {

// Integrates the oscillator from Vp = 1 over 10 * N forward-Euler steps of the
// once-integrated node equation
//     v' = -((3 - K) / CR) * v - (1 / CR^2) * integral of v dt,
// reading CR, Fc, N and Ratio and filling Dt, Aol, K, Integral, Vp and Vo.
// A failing step raises a RuntimeError and leaves what was assigned before it.
void runModel(ModuleState& state);

// The integer stage gain for an op-amp of open-loop gain aol and a ratio
// R1 / R2: the nearest integer to aol / (aol / (ratio + 1) + 1).
std::int32_t stageGain(double aol, double ratio);

}  // namespace wienbridge
