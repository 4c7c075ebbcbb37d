#include "simulation/cycle_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wienbridge {
namespace {

// Where, as a fraction of the step, the line from a sample of one sign to the
// next of the other meets zero. Samples near the largest double would
// overflow their sum: halved, they give the same fraction.
double zeroFraction(double before, double after)
{
    double a = std::fabs(before);
    double b = std::fabs(after);
    if (a + b > std::numeric_limits<double>::max()) {
        a *= 0.5;
        b *= 0.5;
    }
    return a / (a + b);
}

// How much higher than the crest sample the top of the parabola through it and
// its neighbours lies, as a factor: the sampled crest misses the curve's own
// by up to an eighth of the squared phase step, which the parabola mostly
// recovers. Worked in units of the crest so that nothing overflows; the
// neighbours are never larger than the crest, so the curvature is never
// positive, and a flat top is left as it is.
double parabolaTop(double before, double at, double after)
{
    const double a = before / at;
    const double c = after / at;
    const double curvature = a + c - 2;
    if (!(curvature < 0))
        return 1;
    const double slope = a - c;
    return 1 - slope / curvature * slope / 8;
}

}  // namespace

void CycleAnalysis::begin(std::int64_t)
{
    *this = CycleAnalysis();
}

void CycleAnalysis::cross(std::int64_t index, double before, double after)
{
    const Crossing crossing{index, zeroFraction(before, after)};
    if (crossings_ == 0)
        first_ = crossing;
    last_ = crossing;
    ++crossings_;
    previousCrest_ = lastCrest_;
    lastCrest_ = crest_;
    crestSize_ = -1;
}

// Sample by sample, for the few blocks where Vo changes sign.
void CycleAnalysis::scanCrossings(std::int64_t first, std::span<const double> vo)
{
    double before = lastSample_;
    for (std::size_t j = 0; j < vo.size(); ++j) {
        const std::int64_t k = first + static_cast<std::int64_t>(j);
        const double x = vo[j];
        if (crest_.index == k - 1)
            crest_.after = x;
        const bool positive = x > 0;
        if (positive != positive_) {
            cross(k - 1, before, x);
            positive_ = positive;
        }
        const double size = positive ? x : -x;
        if (size > crestSize_) {
            crest_ = {k, before, x, 0.0};
            crestSize_ = size;
        }
        before = x;
    }
}

void CycleAnalysis::observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo)
{
    if (vo.empty())
        return;
    const auto [lowest, highest] = std::minmax_element(vo.begin(), vo.end());
    observeWithBounds(first, vp, vo, {*lowest, *highest});
}

// Only the few blocks where Vo changes sign, or reaches a new crest, are
// visited sample by sample; the run's bounds tell which.
void CycleAnalysis::observeWithBounds(std::int64_t first, std::span<const double>, std::span<const double> vo,
                                      Bounds bounds)
{
    const std::size_t n = vo.size();
    if (n == 0)
        return;
    if (first == 1) {
        positive_ = vo[0] > 0;
        lastSample_ = vo[0];
    }
    if (crest_.index == first - 1)
        crest_.after = vo[0];

    const double low = bounds.lowest;
    const double high = bounds.highest;
    if (positive_ ? !(low > 0) : high > 0) {
        scanCrossings(first, vo);
    } else if (const double size = positive_ ? high : -low; size > crestSize_) {
        // While the curve rises the new crest is the block's last sample:
        // searching from the end finds it at once.
        const double target = positive_ ? high : low;
        std::size_t j = n - 1;
        while (j > 0 && vo[j] != target)
            --j;
        crest_ = {first + static_cast<std::int64_t>(j), j > 0 ? vo[j - 1] : lastSample_, vo[j],
                  j + 1 < n ? vo[j + 1] : 0.0};
        crestSize_ = size;
    }
    lastSample_ = vo[n - 1];
}

CycleMeasurements CycleAnalysis::measurements(double dt) const
{
    CycleMeasurements m;
    m.crossings = crossings_;
    if (crossings_ == 0)
        return m;
    const auto time = [dt](const Crossing& c) { return (static_cast<double>(c.index) + c.fraction) * dt; };
    m.firstCrossing = time(first_);
    m.lastCrossing = time(last_);
    if (crossings_ < 3)
        return m;
    const double halfPeriods = static_cast<double>(crossings_ - 1);
    const double samples =
        static_cast<double>(last_.index - first_.index) + (last_.fraction - first_.fraction);
    m.frequency = halfPeriods / (2 * samples * dt);
    if (previousCrest_.at != 0) {
        const Crest& l = lastCrest_;
        const Crest& p = previousCrest_;
        const double ratio = std::fabs(l.at) / std::fabs(p.at)
                             * (parabolaTop(l.before, l.at, l.after) / parabolaTop(p.before, p.at, p.after));
        m.factorPerPeriod = ratio * ratio;
    }
    return m;
}

}  // namespace wienbridge
