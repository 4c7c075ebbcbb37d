#pragma once

#include <string_view>

#include <QColor>
#include <QImage>

#include "module_state.h"
#include "run_sequence.h"

namespace wienbridge::testing {

// The state a run of the default inputs leaves (CR 159.15 us, Fc 3 MHz) for
// the given ratio and sample count.
inline ModuleState completedRun(std::string_view ratio, std::string_view sampleCount = "100")
{
    ModuleState state;
    NoWaveform noWindow;
    readRatio(state, ratio);
    runSequence(state, {"159.15", sampleCount, "3"}, noWindow);
    return state;
}

inline bool hasColour(const QImage& image, int x, int y, const QColor& colour)
{
    return image.pixel(x, y) == colour.rgb();
}

inline int countColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += hasColour(image, x, y, colour) ? 1 : 0;
    return count;
}

}  // namespace wienbridge::testing
