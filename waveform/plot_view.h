#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

#include "plot/column_values.h"
#include "plot/curve_reduction.h"
#include "run/progress_counter.h"
#include "run/run_sequence.h"

namespace wienbridge {

class PlotImage;

// A kept reference curve. No pixels of it are kept: it is run again from its
// inputs whenever the time axis changes.
struct Reference {
    RunInputs inputs;
    std::int64_t samples = 0;  // of its whole run, 10 N
};

// The curves one window of the time axis shows, reduced for the plot, and
// the run's values at the columns for the keyboard's reading. A computation
// that owns them fills them on the worker thread; they are read once it is
// joined.
struct ViewCurves {
    TimeWindow window;
    std::shared_ptr<CurveReduction> curve;
    std::shared_ptr<ColumnValues> values;
    // Null without a reference, or when it has no place on the run's time
    // axis (its CR of the other sign, or too far from the run's).
    std::shared_ptr<CurveReduction> reference;

    // The vertical scale: the larger peak of the two inside the window; `run`
    // (the whole run's) where every sample of the run there is 0.
    double peak(double run) const;
};

// What the run's own observers fill as a new run computes, over the whole run,
// with the reference on the same seconds.
ViewCurves curvesOfNewRun(const PlotGeometry& geometry, const RunInputs& inputs,
                          const std::optional<Reference>& reference);
// A window of a finished run (of `samples` samples), with the reference.
ViewCurves curvesOfWindow(const PlotGeometry& geometry, const TimeWindow& window, const RunInputs& inputs,
                          std::int64_t samples, const std::optional<Reference>& reference);

// The reference run again into curves.reference, after the new run's own
// computation, and counted by `progress`, told beforehand what to expect.
// Empty without a reference to draw.
std::function<void(std::stop_token)> referenceRun(const std::optional<Reference>& reference,
                                                  const ViewCurves& curves,
                                                  const std::shared_ptr<ProgressCounter>& progress);
// Fills curves of a window: the run's model up to the window's end, then the reference's.
Computation windowRun(const RunInputs& inputs, const std::optional<Reference>& reference,
                      const ViewCurves& curves, const std::shared_ptr<ProgressCounter>& progress);

// Draws the curves over the axes: the reference, then the run's curve in red
// over it, both scaled to `peak`. Throws as drawCurve does.
void drawCurves(PlotImage& plot, const ViewCurves& curves, double peak);

// The window that shows the run's x from start to end, at least two samples
// of `samples` wide and no wider than the run; the whole run exactly when it
// would be as wide.
TimeWindow windowBetween(double start, double end, std::int64_t samples);

}  // namespace wienbridge
