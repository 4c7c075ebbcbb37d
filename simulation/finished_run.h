#pragma once

#include <string>

#include "simulation/cycle_analysis.h"
#include "simulation/run_inputs.h"

namespace wienbridge {

// The texts of the four parameter boxes, as typed.
struct BoxTexts {
    std::string timeConstant;  // CR in microseconds (Text1)
    std::string sampleCount;   // N (Text2)
    std::string crossover;     // fc in MHz (Text3)
    std::string ratio;         // R1 / R2 (Text4)
};

// What a run that completed leaves for the windows to keep: what it was asked,
// what the model returned and what the analysis of its cycles measured. How it
// was drawn is the front end's own business. A failed or cancelled run leaves
// none.
struct FinishedRun {
    BoxTexts texts;
    RunInputs inputs;  // as read from the texts
    RunResult result;
    CycleMeasurements cycles;
};

}  // namespace wienbridge
