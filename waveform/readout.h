#pragma once

#include <QString>

namespace wienbridge {

// What the readout needs of the last finished run: the time constant, which
// sets the span of the plot (100 CR), and the peak the curve was scaled to.
struct ReadoutScale {
    double CR = 0.0;
    double Peak = 0.0;
};

// The tooltip text for the pointer at (x, y) in plot coordinates: the time in
// microseconds and the output voltage there, read back through the curve's
// mappings, with the user locale's decimal separator, for example
//     t = 318,300 usec" ; vo(t) = 0,75V
// A failing computation raises its RuntimeError.
QString readoutText(const ReadoutScale& scale, float x, float y);

}  // namespace wienbridge
