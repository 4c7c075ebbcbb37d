#pragma once

#include <optional>
#include <string>

#include "curve_reduction.h"
#include "cycle_analysis.h"
#include "run_inputs.h"

namespace wienbridge {

// The texts of the four parameter boxes, as typed.
struct BoxTexts {
    std::string timeConstant;  // CR in microseconds (Text1)
    std::string sampleCount;   // N (Text2)
    std::string crossover;     // fc in MHz (Text3)
    std::string ratio;         // R1 / R2 (Text4)
};

// What a run that completed leaves for the windows to keep: what it was asked,
// what the model returned and what its observers measured. A failed or
// cancelled run leaves none.
struct FinishedRun {
    BoxTexts texts;
    RunInputs inputs;  // as read from the texts
    RunResult result;
    CycleMeasurements cycles;
    std::optional<CurveReduction> curve;  // the plot's columns, when the run was drawn
};

}  // namespace wienbridge
