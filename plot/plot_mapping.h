#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// The plot's user coordinates: 0 to 100 across from the left, 0 to 100 upwards
// from the bottom, laid over the inner area of the plot (inside its border).
// This is the one place that knows how user coordinates land on pixels; the
// drawing uses it forwards and the pointer readout backwards.
//
// Pixel centres sit at integer device coordinates, and the range is stretched
// over width - 1 and height - 1 pixels, so that both 0 and 100 fall on a
// visible pixel: the tick at x = 100 and the one at y = 100 are on screen.
namespace wienbridge {

// Size of the plot's inner area as designed, in logical pixels (the pixels at scale 1).
inline constexpr int kPlotWidth = 901;
inline constexpr int kPlotHeight = 501;

// A point in user coordinates, in single precision as drawing coordinates are.
struct UserPoint {
    float x = 0.0F;
    float y = 0.0F;
};

// A point on the inner area, in pixels from its top-left pixel centre.
struct DevicePoint {
    double x = 0.0;
    double y = 0.0;
};

// The device pixels the inner area is drawn in, and how many of them a line
// is wide.
struct PlotGeometry {
    int width = kPlotWidth;
    int height = kPlotHeight;
    int lineWidth = 1;

    bool operator==(const PlotGeometry&) const = default;

    double deviceX(float x) const { return static_cast<double>(x) * (width - 1) / 100.0; }
    double deviceY(float y) const { return (100.0 - static_cast<double>(y)) * (height - 1) / 100.0; }
    DevicePoint toDevice(UserPoint p) const { return {deviceX(p.x), deviceY(p.y)}; }
    UserPoint toUser(DevicePoint p) const
    {
        return {static_cast<float>(p.x * 100.0 / (width - 1)),
                static_cast<float>(100.0 - p.y * 100.0 / (height - 1))};
    }
};

// The width of a line on a screen of `ratio` device pixels per logical pixel:
// the whole number of device pixels nearest to the logical pixel a line is at
// scale 1, so 1 at 1.25, 2 at 1.5 and 2, 3 at 3. Lines of one device pixel
// look faint at 1.5 and above beside the border and the captions, which Qt
// scales; a whole number keeps a line equally wide all along, where the scale-1
// plot enlarged 1.5 times had lines 1 and 2 pixels wide by turns.
inline int lineWidthAt(double ratio)
{
    return std::max(1, static_cast<int>(std::lround(ratio)));
}

// Where the curve puts sample k of `count` across the plot: the samples end at
// x = 100. k * 100 is taken in 64 bits, since as a 32-bit product it would
// overflow for k above 21474836 and give the same double wherever it fits.
inline float sampleX(std::int64_t k, std::int64_t count)
{
    return static_cast<float>(static_cast<double>(k * 100) / static_cast<double>(count));
}

}  // namespace wienbridge
