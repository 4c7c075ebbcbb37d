#pragma once

#include <array>
#include <string_view>

#include <QString>

#include "simulation/finished_run.h"

class QPainter;
class QRect;

namespace wienbridge {

// The numbers the plot itself does not carry, for its margins: the times of
// the five ticks along the bottom (0, 25 CR, ..., 100 CR) and the voltages at
// the top, middle and bottom of the curve's range (+Peak, 0, -Peak).
struct AxisValues {
    std::array<QString, 5> times;
    std::array<QString, 3> volts;
};

// With the given decimal separator, in engineering units.
AxisValues axisValues(const FinishedRun& run, std::string_view decimalSeparator);

// Draws the values in the margins of the plot's inner area `plot`, the times
// under it and the voltages to its left, kept inside `bounds`.
void paintAxisValues(QPainter& painter, const AxisValues& values, const QRect& plot, const QRect& bounds);

}  // namespace wienbridge
