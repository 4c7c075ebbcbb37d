#pragma once

#include <array>
#include <string_view>
#include <vector>

#include <QFont>
#include <QRect>
#include <QString>

#include "plot/plot_mapping.h"

class QPainter;

namespace wienbridge {

// The numbers the plot itself does not carry, for its margins: the times of
// the five ticks along the bottom (0, 25 CR, ..., 100 CR for the whole run,
// the window's start to its end when zoomed) and the voltages at the top,
// middle and bottom of the curve's range (+Peak, 0, -Peak).
struct AxisValues {
    std::array<QString, 5> times;
    std::array<QString, 3> volts;
};

// With the given decimal separator, in engineering units.
AxisValues axisValues(const PlotScale& scale, std::string_view decimalSeparator);

// A value where it goes, in the font it fits in.
struct PlacedValue {
    QString text;
    QRect box;
    QFont font;
};

// Where the values go beside the plot's inner area `plot`: the times under it,
// each centred on its tick, and the voltages to its left, each level with its
// height; every one kept wholly inside `bounds` and its own margin. A value too
// wide for its margin is written smaller, down to a size still readable, and
// beyond that in a shorter form ("+2,1E+21 V" for "+2,106E+21 V"), never cut.
std::vector<PlacedValue> placeAxisValues(const AxisValues& values, const QRect& plot, const QRect& bounds,
                                         const QFont& font);

// The smallest size at which text on the plot is still read easily.
constexpr int kSmallestReadablePixels = 7;

// `font`, or the largest smaller size down to `smallestPixels` in which `text`
// is no wider than `width`; the smallest when none is.
QFont fontToFit(const QString& text, int width, const QFont& font, int smallestPixels);

// Draws the values as placed, in the painter's pen.
void paintAxisValues(QPainter& painter, const AxisValues& values, const QRect& plot, const QRect& bounds);

}  // namespace wienbridge
