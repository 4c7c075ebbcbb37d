#pragma once

#include <string_view>

#include "simulation/run_inputs.h"

namespace wienbridge {

// The texts of the boxes a run reads after the ratio, as typed.
struct ParameterTexts {
    std::string_view timeConstantMicroseconds;  // CR, in microseconds
    std::string_view sampleCount;               // N
    std::string_view crossoverMegahertz;        // Fc, in MHz
};

// R1 / R2 from its box: the first thing a run reads.
double readRatio(std::string_view text);

// CR, Fc and N, read in that order, with the ratio read before. N is rounded to
// the nearest integer, halves to even. A number too large to read raises an
// overflow error of that box.
RunInputs readRunInputs(double ratio, const ParameterTexts& texts);

}  // namespace wienbridge
