#pragma once

#include <string>
#include <string_view>

namespace wienbridge {

// The four option buttons beside the ratio box, in the order of their names
// Option1 to Option4.
enum class RatioPreset {
    Typed,  // Option1 "R1/R2": whatever the ratio box holds
    Two,    // Option2 "R1/R2=2": the oscillation condition
    Three,  // Option3 "R1/R2=3": growing oscillation
    One,    // Option4 "R1/R2=1": damped oscillation
};

// What a preset writes into the ratio box: the ratio with two decimals, always
// with "." so that the next run reads back exactly the ratio shown, black for a
// typed ratio and blue for a fixed preset.
struct RatioBox {
    std::string text;
    bool blue = false;
};

// The ratio box after choosing a preset; typedRatio is what the box holds. A
// typed number too large for a double raises an overflow error.
RatioBox applyRatioPreset(RatioPreset preset, std::string_view typedRatio);

}  // namespace wienbridge
