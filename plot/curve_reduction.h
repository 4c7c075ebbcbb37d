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
//
// A plot of part of a run keeps, beside its columns, the last sample left of
// them and the first right of them, each alone: the segments from them into
// the plot are the only ones outside it that light a pixel, so the identity
// with stroking every segment holds for any window.
class CurveReduction final : public SampleObserver {
public:
    // The whole of the run it observes, as the designed plot shows it.
    explicit CurveReduction(const PlotGeometry& geometry);
    // The run of mapping.count samples, where the mapping puts it.
    CurveReduction(const PlotGeometry& geometry, const SampleMapping& mapping);

    void begin(std::int64_t sampleCount) override;
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override;
    void observeWithBounds(std::int64_t first, std::span<const double> vp, std::span<const double> vo,
                           Bounds bounds) override;

    const SampleMapping& mapping() const { return mapping_; }
    std::span<const ReducedColumn> columns() const { return columns_; }
    // The last sample the plot needs (the run may stop there): the first right
    // of the plot, or the run's last.
    std::int64_t lastSampleNeeded() const;
    // The largest |Vo| of the samples whose time lies in the window (0 <= x <=
    // 100), which the plot is scaled to; 0 when none does.
    double peak() const { return peak_; }
    // The samples whose time lies in the window, first to last (all of a whole run's).
    std::int64_t firstInside() const { return firstInside_; }
    std::int64_t lastInside() const { return lastInside_; }

private:
    // Which samples are kept, and which lie in the window, once the count is known.
    void locate();
    double column(std::int64_t k) const;
    std::int64_t lastInColumnOf(std::int64_t k) const;
    // The first sample after `before` and before `at` from which `after`
    // holds, or `at`; `after` turns true once and stays so.
    template <class After>
    std::int64_t firstWhere(std::int64_t before, std::int64_t at, After&& after) const;

    bool mapped_;
    PlotGeometry geometry_;
    SampleMapping mapping_;
    std::vector<ReducedColumn> columns_;
    std::int64_t columnEnd_ = 0;  // the last sample of the column being filled
    std::int64_t keepFirst_ = 1, keepLast_ = 0;
    std::int64_t firstInside_ = 1, lastInside_ = 0;
    double peak_ = 0.0;
};

}  // namespace wienbridge
