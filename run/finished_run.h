#pragma once

#include <optional>

#include "curve_reduction.h"
#include "run_inputs.h"

namespace wienbridge {

// What a run that completed leaves for the windows to keep: what it was asked,
// what the model returned and what its observers measured. A failed or
// cancelled run leaves none.
struct FinishedRun {
    RunInputs inputs;
    RunResult result;
    std::optional<CurveReduction> curve;  // the plot's columns, when the run was drawn
};

}  // namespace wienbridge
