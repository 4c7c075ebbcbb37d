#pragma once

#include <string_view>

#include "module_state.h"

namespace wienbridge {

// The four option buttons beside the ratio box, in the order of their names
// Option1 to Option4.
enum class RatioPreset {
    Typed,  // Option1 "R1/R2": whatever the ratio box holds
    Two,    // Option2 "R1/R2=2": the oscillation condition
    Three,  // Option3 "R1/R2=3": growing oscillation
    One,    // Option4 "R1/R2=1": damped oscillation
};

// Typed ratios are shown in black, fixed presets in blue.
enum class RatioTextColour { Black, Blue };

// Sets Ratio from the preset (or from the typed text, read as a number) and
// RatioText to the ratio with two decimals, always with "." as the decimal
// point so that the next run reads back exactly the ratio shown. Returns the
// colour the ratio box takes. A typed number too large for a double raises an
// overflow error and leaves the state untouched.
RatioTextColour applyRatioPreset(ModuleState& state, RatioPreset preset, std::string_view typedRatio);

}  // namespace wienbridge
