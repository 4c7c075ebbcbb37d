#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "plot/plot_mapping.h"

// Lines on a block of 32-bit pixels, solid and not antialiased, rasterised
// one pixel wide and then widened.
//
// A segment lights, in each pixel column it crosses, the rows between the
// nearest pixels of the lowest and the highest y it takes over that column
// (over the part of the segment whose x lies within half a pixel of the
// column's centre). A segment that starts and ends in one column lights that
// column from the nearest pixel of one end's y to the other's.
//
// The rule is chosen for what follows from it: the pixels that a polyline with
// non-decreasing x lights in a column are the rows between the nearest pixels
// of the polyline's lowest and highest y over that column. A curve of many
// samples per column can therefore be drawn through only the first, lowest,
// highest and last sample of each column and come out the same, pixel for pixel.
//
// A wider line grows every pixel the one-pixel line lights into a square of
// the line's width, moved back inside the buffer at its edges. The pixels lit
// follow from the one-pixel ones alone, so a reduced curve still comes out the same.
namespace wienbridge {

// The pixel whose centre is nearest to a device coordinate; halves go to the
// higher one.
inline double nearestPixel(double v)
{
    return std::floor(v + 0.5);
}

// Pixels of 0xAARRGGBB, row after row, `stride` pixels from one row to the next.
struct PixelBuffer {
    std::uint32_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
};

// Draws the segment, `lineWidth` pixels wide, clipped to the buffer. Drawing
// it backwards lights the same pixels; a segment with a NaN end lights none.
void strokeSegment(const PixelBuffer& buffer, DevicePoint from, DevicePoint to, std::uint32_t colour,
                   int lineWidth);

}  // namespace wienbridge
