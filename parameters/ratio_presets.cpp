#include "parameters/ratio_presets.h"

#include "runtime/number_format.h"
#include "simulation/parameter_reading.h"

namespace wienbridge {

RatioBox applyRatioPreset(RatioPreset preset, std::string_view typedRatio)
{
    switch (preset) {
    case RatioPreset::Typed:
        return {formatFixed(readRatio(typedRatio), 2, "."), false};
    case RatioPreset::Two:
        return {formatFixed(2.0, 2, "."), true};
    case RatioPreset::Three:
        return {formatFixed(3.0, 2, "."), true};
    case RatioPreset::One:
        return {formatFixed(1.0, 2, "."), true};
    }
    return {};
}

}  // namespace wienbridge
