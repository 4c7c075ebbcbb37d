#pragma once

#include <QString>

#include "plot/plot_mapping.h"

namespace wienbridge {

// The voltage at height y of a plot scaled to `peak`.
double voltageAt(double peak, double y);

// The tooltip text for time t (seconds) and voltage v, with the user locale's
// decimal separator, the time in microseconds, for example
//     t = 318,300 usec" ; vo(t) = 0,75V
QString readoutText(double t, double v);

// The tooltip text for the pointer at (x, y) in plot coordinates: the time and
// the output voltage there, read back through the curve's mappings. A failing
// computation raises its RuntimeError.
QString readoutText(const PlotScale& scale, float x, float y);

}  // namespace wienbridge
