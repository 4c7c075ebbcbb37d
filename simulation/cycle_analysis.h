#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "simulation/sample_observer.h"

namespace wienbridge {

// What the zero crossings of Vo say about a run, in seconds and hertz. A zero
// sample counts with the negative ones, so that a curve through an exact zero
// (1, 0, -1, or -1, 0, 1) crosses once, at that sample.
struct CycleMeasurements {
    std::int64_t crossings = 0;
    // Each interpolated linearly between the two samples around it; none without a crossing.
    std::optional<double> firstCrossing;
    std::optional<double> lastCrossing;
    // Over every whole half period from the first crossing to the last; none
    // below three crossings, where the curve does not oscillate.
    std::optional<double> frequency;
    // (crest of the last whole half period / crest of the one before)², each
    // crest the top of the parabola through the largest |Vo| and its two
    // neighbours: above 1 the curve grows, below 1 it dies away. None below
    // three crossings.
    std::optional<double> factorPerPeriod;

    bool oscillates() const { return frequency.has_value(); }
    bool operator==(const CycleMeasurements&) const = default;
};

// Measures the crossings and crests of Vo as a run streams it, in constant
// memory and in one pass. Only + - * / and |x| are used, so the results are
// the same bits on every platform.
class CycleAnalysis final : public SampleObserver {
public:
    void begin(std::int64_t sampleCount) override;
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override;
    void observeWithBounds(std::int64_t first, std::span<const double> vp, std::span<const double> vo,
                           Bounds bounds) override;

    // The run's step dt places sample i at i * dt.
    CycleMeasurements measurements(double dt) const;

private:
    // The sample of largest |Vo| in a half period and its neighbours.
    struct Crest {
        std::int64_t index = 0;
        double before = 0.0;
        double at = 0.0;
        double after = 0.0;
    };
    // Where the line through sample `index` and the next meets zero.
    struct Crossing {
        std::int64_t index = 0;
        double fraction = 0.0;
    };

    void scanCrossings(std::int64_t first, std::span<const double> vo);
    void cross(std::int64_t index, double before, double after);

    std::int64_t crossings_ = 0;
    Crossing first_, last_;
    Crest crest_;            // of the half period under way
    double crestSize_ = -1;  // its |Vo|; below any sample when the half period starts
    Crest lastCrest_, previousCrest_;
    bool positive_ = false;  // whether the last sample seen is above zero
    double lastSample_ = 0.0;
};

}  // namespace wienbridge
