#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "plot/plot_mapping.h"
#include "simulation/sample_observer.h"

namespace wienbridge {

// The curve's value at each column of the plot as designed, c = 0 to 900 at
// x = c / 9, for a reading that follows the curve rather than the pointer: on
// the straight segment between the samples either side of the column's time,
// as the plot draws it. It keeps two samples a column, whatever the run's
// length, and stops asking for samples where the plot does.
class ColumnValues final : public SampleObserver {
public:
    static constexpr int kColumns = kPlotWidth;

    // The whole of the run it observes.
    ColumnValues() = default;
    // The run of mapping.count samples, where the mapping puts it.
    explicit ColumnValues(const SampleMapping& mapping);

    void begin(std::int64_t sampleCount) override;
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override;

    // The plot's x of column c.
    static float x(int c) { return static_cast<float>(c * 100.0 / (kColumns - 1)); }
    // The last sample the values need: the run may stop there.
    std::int64_t lastSampleNeeded() const;
    // The value at column c, or nothing where the curve does not reach: before
    // its first sample, after its last, or beyond where the run stopped.
    std::optional<double> at(int c) const;

private:
    struct Column {
        std::int64_t before = 0;  // the sample at or before the column's time
        double fraction = 0.0;    // of the way from it to the next
        double atBefore = 0.0, atNext = 0.0;
        bool reached = false;  // both samples it needs seen
    };
    void locate();

    bool mapped_ = false;
    SampleMapping mapping_;
    std::vector<Column> columns_;
    std::size_t next_ = 0;  // the first column still waiting for a sample
};

}  // namespace wienbridge
