#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "plot/plot_mapping.h"
#include "simulation/sample_observer.h"

namespace wienbridge {

struct KeptSample {
    std::int64_t k = 0;
    double vo = 0.0;
};

// What the plot needs of the samples that fall in one pixel column: the first
// and the last, and the lowest and the highest value, in the model's units.
// Mapped to y once the peak is known, they light exactly the pixels that
// stroking every segment through the column would (see line_raster.h): the
// mapping to y is monotonic, so the extremes stay the extremes, and where in
// the column they lie changes no pixel.
struct ReducedColumn {
    KeptSample first, last;
    double lowest = 0.0;
    double highest = 0.0;
};

// Reduces Vo, as a run computes it, to its pixel columns on a plot of the given
// geometry: memory bounded by the plot's width, whatever the number of samples.
class CurveReduction final : public SampleObserver {
public:
    explicit CurveReduction(const PlotGeometry& geometry);

    void begin(std::int64_t sampleCount) override;
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override;
    void observeWithBounds(std::int64_t first, std::span<const double> vp, std::span<const double> vo,
                           Bounds bounds) override;

    std::int64_t sampleCount() const { return count_; }
    std::span<const ReducedColumn> columns() const { return columns_; }

private:
    double column(std::int64_t k) const;
    std::int64_t lastInColumnOf(std::int64_t k) const;

    std::int64_t count_ = 0;
    PlotGeometry geometry_;
    std::vector<ReducedColumn> columns_;
    std::int64_t columnEnd_ = 0;  // the last sample of the column being filled
};

}  // namespace wienbridge
