#include "plot/plot_drawing.h"

#include <vector>

#include "plot/colours.h"
#include "plot/plot_image.h"
#include "runtime/float_check.h"

namespace wienbridge {

void prepareAxes(PlotImage& plot)
{
    const QColor ticks = colours::black();
    for (int y = 100; y >= 1; y -= 5)
        plot.drawLine({0.0F, static_cast<float>(y)}, {0.2F, static_cast<float>(y)}, ticks);
    for (int x = 0; x <= 100; x += 25)
        plot.drawLine({static_cast<float>(x), 0.0F}, {static_cast<float>(x), 0.5F}, ticks);
    plot.drawLine({0.0F, 50.0F}, {100.0F, 50.0F}, colours::red());
}

float curveY(double vo, double peak)
{
    // A peak within a factor 48 of the largest double would take vo * 48 out of
    // the double range although the height fits; such a peak and its samples
    // are first scaled down by a power of two, which changes no rounding.
    const double scale = peak > 0x1p1017 ? 0x1p-6 : 1.0;
    return static_cast<float>(vo * scale * 48 / (peak * scale) + 50);
}

void drawCurve(PlotImage& plot, const CurveReduction& curve, double peak, const QColor& colour)
{
    std::vector<UserPoint> polyline;
    polyline.reserve(4 * curve.columns().size());
    // The first sample of each column, then its extremes at the same x, then
    // its last sample: the x of the extremes changes no pixel (see the reduction).
    for (const ReducedColumn& column : curve.columns()) {
        const float x = curve.mapping().x(column.first.k);
        const UserPoint kept[] = {{x, 0.0F}, {x, 0.0F}, {x, 0.0F}, {curve.mapping().x(column.last.k), 0.0F}};
        const double values[] = {column.first.vo, column.lowest, column.highest, column.last.vo};
        const int count = column.last.k == column.first.k ? 1 : 4;
        for (int i = 0; i < count; ++i) {
            clearFloatingPointFlags();
            double vo = values[i];
            pinInPlace(vo);
            float y = curveY(vo, peak);
            pinInPlace(y);
            if (const int flags = raisedFloatingPointFlags()) {
                plot.drawPolyline(polyline, colour);
                raiseIfFlagged(flags, Quantity::CurveHeight);
            }
            polyline.push_back({kept[i].x, y});
        }
    }
    plot.drawPolyline(polyline, colour);
}

}  // namespace wienbridge
