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

// The span of time the plot shows, in the x of the whole run whose time axis
// it is (0 to 100 is 0 to 100 CR): the designed plot shows 0 to 100, a zoomed
// one less. Its scale is exactly 1 for the whole run, and adding 0 or
// multiplying by 1 changes no double, so the whole run lands on the designed
// plot's x to the last bit.
struct TimeWindow {
    double start = 0.0;
    double end = 100.0;

    bool operator==(const TimeWindow&) const = default;
    bool whole() const { return start == 0.0 && end == 100.0; }
    double scale() const { return 100.0 / (end - start); }
    double toPlot(double runX) const { return (runX - start) * scale(); }
    double toRun(double plotX) const { return start + plotX / scale(); }
};

// What the numbers read off a plot need: the time constant of the run whose
// time axis it is, the part of that axis shown, and the peak the heights are
// scaled to (y = 50 +- 48 is +-Peak).
struct PlotScale {
    double CR = 0.0;
    double Peak = 0.0;
    TimeWindow window;

    // The time, in seconds, at the plot's x: the fraction of the width times
    // the whole run's span, 100 CR.
    double seconds(double x) const { return (window.toRun(x) / 100) * 100 * CR; }
};

// Where sample k of a run of `count` samples lies across the plot. The run's
// own x is 100 k / count (its samples end at 100 CR); `stretch`, the run's CR
// over that of the run the time axis belongs to, brings a reference curve to
// the same seconds (1 for the run itself); the window then places it. k * 100
// is taken in 64 bits, since as a 32-bit product it would overflow for k above
// 21474836 and give the same double wherever it fits.
struct SampleMapping {
    std::int64_t count = 0;
    double stretch = 1.0;
    TimeWindow window;

    float x(std::int64_t k) const
    {
        return static_cast<float>(
            window.toPlot(static_cast<double>(k * 100) / static_cast<double>(count) * stretch));
    }
};

// Where the designed plot puts sample k of `count`: the samples end at x = 100.
inline float sampleX(std::int64_t k, std::int64_t count)
{
    return SampleMapping{count, 1.0, {}}.x(k);
}

}  // namespace wienbridge
