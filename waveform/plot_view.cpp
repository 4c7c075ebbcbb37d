#include "waveform/plot_view.h"

#include <algorithm>
#include <cmath>

#include "plot/plot_drawing.h"
#include "simulation/oscillator_model.h"

namespace wienbridge {
namespace {

// The reference's samples on the run's seconds, or null where they have no
// place there: a stretch that is not a positive finite number would not keep
// the samples in order across the plot.
std::shared_ptr<CurveReduction> referenceCurve(const PlotGeometry& geometry, const TimeWindow& window,
                                               double cr, const std::optional<Reference>& reference)
{
    if (!reference)
        return nullptr;
    const double stretch = reference->inputs.CR / cr;
    if (!(stretch > 0 && std::isfinite(stretch)))
        return nullptr;
    return std::make_shared<CurveReduction>(geometry, SampleMapping{reference->samples, stretch, window});
}

// The model run up to the last sample its observers need.
void runInto(const RunInputs& inputs, std::int64_t last, SampleObserver& observer, SampleObserver* progress,
             std::stop_token stop)
{
    ObserverList observers{&observer, progress};
    simulate(inputs, observers, std::move(stop), last);
}

}  // namespace

double ViewCurves::peak(double run) const
{
    // A run that is 0 throughout keeps its own scale, and so fails to draw as
    // it would alone, reference or not.
    if (!(curve->peak() > 0))
        return run;
    return std::max(curve->peak(), reference ? reference->peak() : 0.0);
}

ViewCurves curvesOfNewRun(const PlotGeometry& geometry, const RunInputs& inputs,
                          const std::optional<Reference>& reference)
{
    return {{},
            std::make_shared<CurveReduction>(geometry),
            std::make_shared<ColumnValues>(),
            referenceCurve(geometry, {}, inputs.CR, reference)};
}

ViewCurves curvesOfWindow(const PlotGeometry& geometry, const TimeWindow& window, const RunInputs& inputs,
                          std::int64_t samples, const std::optional<Reference>& reference)
{
    const SampleMapping mapping{samples, 1.0, window};
    return {window, std::make_shared<CurveReduction>(geometry, mapping),
            std::make_shared<ColumnValues>(mapping), referenceCurve(geometry, window, inputs.CR, reference)};
}

std::function<void(std::stop_token)> referenceRun(const std::optional<Reference>& reference,
                                                  const ViewCurves& curves,
                                                  const std::shared_ptr<ProgressCounter>& progress)
{
    if (!curves.reference)
        return {};
    progress->expectLater(curves.reference->lastSampleNeeded());
    return [inputs = reference->inputs, curve = curves.reference, progress](std::stop_token stop) {
        runInto(inputs, curve->lastSampleNeeded(), *curve, progress.get(), std::move(stop));
    };
}

Computation windowRun(const RunInputs& inputs, const std::optional<Reference>& reference,
                      const ViewCurves& curves, const std::shared_ptr<ProgressCounter>& progress)
{
    const std::function<void(std::stop_token)> second = referenceRun(reference, curves, progress);
    return [inputs, curve = curves.curve, values = curves.values, progress, second](std::stop_token stop) {
        SharedObservers both{curve, values};
        runInto(inputs, std::max(curve->lastSampleNeeded(), values->lastSampleNeeded()), both, progress.get(),
                stop);
        if (second)
            second(stop);
        return FinishedRun{{}, inputs, {}, {}};
    };
}

void drawCurves(PlotImage& plot, const ViewCurves& curves, double peak)
{
    if (curves.reference)
        drawCurve(plot, *curves.reference, peak, colours::reference());
    drawCurve(plot, *curves.curve, peak);
}

TimeWindow windowBetween(double start, double end, std::int64_t samples)
{
    const double span = std::max(end - start, 2 * 100.0 / static_cast<double>(samples));
    if (!(span < 100))
        return {};
    const double from = std::clamp(start, 0.0, 100 - span);
    return {from, from + span};
}

}  // namespace wienbridge
