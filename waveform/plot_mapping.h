#pragma once

// The plot's user coordinates: 0 to 100 across from the left, 0 to 100 upwards
// from the bottom, laid over the inner area of the plot (inside its border).
// This is the one place that knows how user coordinates land on pixels; the
// drawing uses it forwards and the pointer readout backwards.
//
// Pixel centres sit at integer device coordinates, and the range is stretched
// over width - 1 and height - 1 pixels, so that both 0 and 100 fall on a
// visible pixel: the tick at x = 100 and the one at y = 100 are on screen.
namespace wienbridge {

// Size of the plot's inner area, in pixels.
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

inline double deviceX(float x)
{
    return static_cast<double>(x) * (kPlotWidth - 1) / 100.0;
}

inline double deviceY(float y)
{
    return (100.0 - static_cast<double>(y)) * (kPlotHeight - 1) / 100.0;
}

inline DevicePoint toDevice(UserPoint point)
{
    return {deviceX(point.x), deviceY(point.y)};
}

inline UserPoint toUser(DevicePoint point)
{
    return {static_cast<float>(point.x * 100.0 / (kPlotWidth - 1)),
            static_cast<float>(100.0 - point.y * 100.0 / (kPlotHeight - 1))};
}

}  // namespace wienbridge
