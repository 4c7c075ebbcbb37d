#include "plot/line_raster.h"

#include <algorithm>

namespace wienbridge {
namespace {

struct PixelRange {
    int first = 0;
    int last = 0;
};

// Pixels first..last of a row or a column of `size`, each grown to `lineWidth`
// pixels, lineWidth / 2 before it and the rest after. Where that would leave
// the buffer the pixels are moved back in, so that a tick on the plot's edge
// stays as wide as the others.
PixelRange widened(int first, int last, int lineWidth, int size)
{
    const auto start = [&](int pixel) {
        return std::clamp(pixel - lineWidth / 2, 0, std::max(size - lineWidth, 0));
    };
    return {start(first), std::min(start(last) + lineWidth - 1, size - 1)};
}

// Lights `column` (already known to be inside the buffer) from the nearest row
// of one y to the nearest row of the other, clipped to the buffer, and widens
// what it lit.
void lightColumn(const PixelBuffer& buffer, int lineWidth, double column, double yA, double yB,
                 std::uint32_t colour)
{
    const double top = std::max(nearestPixel(std::min(yA, yB)), 0.0);
    const double bottom = std::min(nearestPixel(std::max(yA, yB)), static_cast<double>(buffer.height - 1));
    if (!(top <= bottom))  // also when a y of an infinitely long segment came out NaN
        return;
    const PixelRange columns =
        widened(static_cast<int>(column), static_cast<int>(column), lineWidth, buffer.width);
    const PixelRange rows =
        widened(static_cast<int>(top), static_cast<int>(bottom), lineWidth, buffer.height);
    std::uint32_t* line = buffer.pixels + static_cast<std::ptrdiff_t>(rows.first) * buffer.stride;
    for (int row = rows.first; row <= rows.last; ++row, line += buffer.stride)
        std::fill(line + columns.first, line + columns.last + 1, colour);
}

}  // namespace

void strokeSegment(const PixelBuffer& buffer, DevicePoint from, DevicePoint to, std::uint32_t colour,
                   int lineWidth)
{
    if (std::isnan(from.x) || std::isnan(from.y) || std::isnan(to.x) || std::isnan(to.y))
        return;
    const bool forwards = from.x <= to.x;
    const DevicePoint left = forwards ? from : to;
    const DevicePoint right = forwards ? to : from;
    const double firstColumn = nearestPixel(left.x);
    const double lastColumn = nearestPixel(right.x);
    const double maxColumn = buffer.width - 1;

    if (firstColumn == lastColumn) {
        if (firstColumn >= 0.0 && firstColumn <= maxColumn)
            lightColumn(buffer, lineWidth, firstColumn, left.y, right.y, colour);
        return;
    }
    // Every y inside the segment is interpolated from its left end, so that a
    // column boundary shared by two columns gets the same y in both, while
    // the ends keep their own y exactly and join the neighbouring segments.
    const double width = right.x - left.x;
    const double rise = right.y - left.y;
    const auto yAt = [&](double x) { return left.y + rise * ((x - left.x) / width); };

    const double firstVisible = std::max(firstColumn, 0.0);
    const double lastVisible = std::min(lastColumn, maxColumn);
    for (double column = firstVisible; column <= lastVisible; column += 1.0) {
        const double yA = column == firstColumn ? left.y : yAt(column - 0.5);
        const double yB = column == lastColumn ? right.y : yAt(column + 0.5);
        lightColumn(buffer, lineWidth, column, yA, yB, colour);
    }
}

}  // namespace wienbridge
