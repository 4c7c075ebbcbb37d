#include "plot_drawing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "checked_int.h"
#include "clear_upper_vector_halves.h"
#include "colours.h"
#include "float_check.h"
#include "line_raster.h"
#include "plot_picture.h"

namespace wienbridge {

void prepareAxes(PlotPicture& picture)
{
    // The user scale (0, 100)-(100, 0) is the plot's fixed mapping
    // (plot_mapping.h): there is nothing left to set for it here.

    const QColor ticks = picture.foregroundColour();
    for (int y = 100; y >= 1; y -= 5)
        picture.drawLine({0.0F, static_cast<float>(y)}, {0.2F, static_cast<float>(y)}, ticks);
    for (int x = 0; x <= 100; x += 25)
        picture.drawLine({static_cast<float>(x), 0.0F}, {static_cast<float>(x), 0.5F}, ticks);
    picture.drawLine({0.0F, 50.0F}, {100.0F, 50.0F}, colours::red());
}

namespace {

// The one formula for a sample's height, shared by every way of drawing the
// curve so that they all see the same float. A peak within a factor 48 of the
// largest double would take vo * 48 out of the double range although the height
// fits; such a peak and its samples are first scaled down by a power of two,
// which changes no rounding.
inline double curveScale(double peak)
{
    return peak > 0x1p1017 ? 0x1p-6 : 1.0;
}

inline float curveY(double vo, double scale, double scaledPeak)
{
    return static_cast<float>(vo * scale * 48 / scaledPeak + 50);
}

struct ColumnScan {
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    int flags = 0;
};

// The samples of the last run as the curve sees them: points 1 to 10 * N.
class CurveSamples {
public:
    explicit CurveSamples(const ModuleState& state)
        : count_(checkedMul(state.N, 10)),
          // The segments run from sample 1 to sample count_; a single sample
          // makes no segment and touches no array element.
          drawn_(count_ >= 2 ? count_ : 0),
          reachable_(std::min<std::int64_t>(drawn_, static_cast<std::int64_t>(state.Vo.size()) - 1)),
          scale_(curveScale(state.Peak)),
          scaledPeak_(state.Peak * scale_),
          vo_(state.Vo.data())
    {
    }

    std::int64_t drawn() const { return drawn_; }
    // The last sample the array holds, at most drawn().
    std::int64_t reachable() const { return reachable_; }

    float x(std::int64_t k) const
    {
        // k * 100 is taken in 64 bits: as a 32-bit product it would overflow
        // for k above 21474836, failing every run with N above about two
        // million, and wherever the 32-bit product fits it gives the same double.
        return static_cast<float>(static_cast<double>(k * 100) / static_cast<double>(count_));
    }

    double column(std::int64_t k) const { return nearestPixel(deviceX(x(k))); }

    // y(k) between a clear and a test of the floating-point flags; returns the
    // flags that failed, 0 when none did.
    int y(std::int64_t k, float& value) const
    {
        clearFloatingPointFlags();
        double vo = vo_[k];
        double peak = scaledPeak_;
        pinInPlace(vo);
        pinInPlace(peak);
        float computed = curveY(vo, scale_, peak);
        pinInPlace(computed);
        value = computed;
        return raisedFloatingPointFlags();
    }

    // Point k, raising the error of a failing y or of a sample beyond the array.
    UserPoint point(std::int64_t k) const
    {
        if (k > reachable_)
            raise(ErrorKind::SubscriptOutOfRange);
        float value = 0.0F;
        raiseIfFlagged(y(k, value));
        return {x(k), value};
    }

    // The last sample in the pixel column of sample `first`.
    std::int64_t lastInColumnOf(std::int64_t first) const
    {
        const double target = column(first);
        std::int64_t inside = first;
        std::int64_t beyond = reachable_ + 1;
        while (beyond - inside > 1) {
            const std::int64_t middle = inside + (beyond - inside) / 2;
            if (column(middle) <= target)
                inside = middle;
            else
                beyond = middle;
        }
        return inside;
    }

    // The lowest and highest samples from first to last, and the flags any of
    // their y raised. The only loop that visits every sample: nothing else in
    // it, and no branch on the data, so that a noisy curve costs no more.
    ColumnScan scan(std::int64_t first, std::int64_t last) const
    {
        ColumnScan result{first, first, 0};
        clearFloatingPointFlags();
        double peak = scaledPeak_;
        pinInPlace(peak);
        float low = std::numeric_limits<float>::infinity();
        float high = -low;
        std::int64_t lowest = first;
        std::int64_t highest = first;
        for (std::int64_t k = first; k <= last; ++k) {
            const float value = curveY(vo_[k], scale_, peak);
            const bool lower = value < low;
            const bool higher = value > high;
            low = lower ? value : low;
            lowest = lower ? k : lowest;
            high = higher ? value : high;
            highest = higher ? k : highest;
        }
        result.lowest = lowest;
        result.highest = highest;
        pinInPlace(low);
        pinInPlace(high);
        pinInPlace(result);
        result.flags = raisedFloatingPointFlags();
        return result;
    }

private:
    std::int32_t count_;
    std::int64_t drawn_;
    std::int64_t reachable_;
    double scale_;
    double scaledPeak_;
    const double* vo_;
};

void strokeEverySegment(PlotPicture& picture, const CurveSamples& samples)
{
    UserPoint previous;
    for (std::int64_t k = 1; k <= samples.drawn(); ++k) {
        const UserPoint point = samples.point(k);
        if (k > 1)
            picture.drawLine(previous, point, colours::red());
        previous = point;
    }
}

// Adds the first, lowest, highest and last samples of a column, in sample order.
void appendColumn(std::vector<UserPoint>& polyline, const CurveSamples& samples, std::int64_t first,
                  std::int64_t last, const ColumnScan& scan)
{
    std::array<std::int64_t, 4> kept{first, scan.lowest, scan.highest, last};
    std::sort(kept.begin(), kept.end());
    const auto end = std::unique(kept.begin(), kept.end());
    for (auto k = kept.begin(); k != end; ++k)
        polyline.push_back(samples.point(*k));
}

void strokeReducedPerColumn(PlotPicture& picture, const CurveSamples& samples)
{
    std::vector<UserPoint> polyline;
    polyline.reserve(4 * kPlotWidth);
    clearUpperVectorHalves();
    for (std::int64_t first = 1; first <= samples.reachable();) {
        const std::int64_t last = samples.lastInColumnOf(first);
        const ColumnScan scan = samples.scan(first, last);
        if (scan.flags != 0) {
            // The first sample that failed ends the curve; the ones before it are drawn.
            std::int64_t failing = first;
            float unused = 0.0F;
            int flags = 0;
            while ((flags = samples.y(failing, unused)) == 0)
                ++failing;
            if (failing > first)
                appendColumn(polyline, samples, first, failing - 1, samples.scan(first, failing - 1));
            picture.drawPolyline(polyline, colours::red());
            raise(errorForFlags(flags));
        }
        appendColumn(polyline, samples, first, last, scan);
        first = last + 1;
    }
    picture.drawPolyline(polyline, colours::red());
    if (samples.drawn() > samples.reachable())
        raise(ErrorKind::SubscriptOutOfRange);
}

}  // namespace

void drawCurve(PlotPicture& picture, const ModuleState& state, CurveStroke stroke)
{
    const CurveSamples samples(state);
    if (stroke == CurveStroke::ReducedPerColumn && samples.drawn() > kPlotWidth)
        strokeReducedPerColumn(picture, samples);
    else
        strokeEverySegment(picture, samples);
}

}  // namespace wienbridge
