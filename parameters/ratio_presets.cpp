#include "ratio_presets.h"

#include "number_format.h"
#include "number_reading.h"

namespace wienbridge {

RatioTextColour applyRatioPreset(ModuleState& state, RatioPreset preset, std::string_view typedRatio)
{
    double ratio = 0.0;
    RatioTextColour colour = RatioTextColour::Blue;
    switch (preset) {
    case RatioPreset::Typed:
        ratio = readNumber(typedRatio);
        colour = RatioTextColour::Black;
        break;
    case RatioPreset::Two:
        ratio = 2.0;
        break;
    case RatioPreset::Three:
        ratio = 3.0;
        break;
    case RatioPreset::One:
        ratio = 1.0;
        break;
    }
    state.Ratio = ratio;
    state.RatioText = formatFixed(ratio, 2, ".");
    return colour;
}

}  // namespace wienbridge
