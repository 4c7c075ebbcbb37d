#pragma once

#include "module_state.h"

namespace wienbridge {

class PlotPicture;

// Before the model runs: the user scale, 20 ticks up the left edge, 5 along
// the bottom and the red zero line.
void prepareAxes(PlotPicture& picture);

enum class CurveStroke {
    // Through the first, lowest, highest and last sample of each pixel column
    // once the samples outnumber the columns; the same pixels as EverySegment
    // at a cost that depends on the width, not on N.
    ReducedPerColumn,
    // A segment from each sample to the next.
    EverySegment,
};

// The red curve of Vo[1] to Vo[10 * N], normalised to Peak, from x = 10 / N to
// x = 100. A sample whose y fails the floating-point test stops the drawing
// there with its RuntimeError, the segments before it drawn.
void drawCurve(PlotPicture& picture, const ModuleState& state,
               CurveStroke stroke = CurveStroke::ReducedPerColumn);

}  // namespace wienbridge
