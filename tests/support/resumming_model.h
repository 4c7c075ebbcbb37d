#pragma once

#include "module_state.h"

namespace wienbridge::reference {

// The model as its algorithm is written, re-summing the integral from the first
// sample at every step and checking every statement on its own: quadratic in N,
// kept only to prove that the fast model gives the same doubles.
void runModelResumming(ModuleState& state);

}  // namespace wienbridge::reference
