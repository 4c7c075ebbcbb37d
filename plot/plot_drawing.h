#pragma once

#include "plot/colours.h"
#include "plot/curve_reduction.h"

namespace wienbridge {

class PlotImage;

// Before the model runs: 20 black ticks up the left edge and 5 along the
// bottom, and the red zero line. The colours are fixed, whatever the desktop's
// theme: the pale-yellow ground is fixed too.
void prepareAxes(PlotImage& plot);

// The height of a sample on the plot: Vo normalised to the peak, from y = 2 to
// y = 98. The one formula every way of drawing the curve uses.
float curveY(double vo, double peak);

// The curve through the reduced columns, where their mapping puts them (the
// whole run: from the first sample to x = 100), in red unless told otherwise.
// A sample whose height fails the floating-point test (every sample 0, so the
// peak is 0) stops the drawing there with its RuntimeError (CurveHeight), the
// segments before it drawn.
void drawCurve(PlotImage& plot, const CurveReduction& curve, double peak,
               const QColor& colour = colours::red());

}  // namespace wienbridge
