#include "run_sequence.h"

#include "oscillator_model.h"
#include "parameter_reading.h"
#include "plot_drawing.h"
#include "plot_image.h"

namespace wienbridge {
namespace {

void drawCurveOn(RunFrontEnd& front, const FinishedRun& run)
{
    PlotImage* plot = front.plot();
    if (!plot)
        return;
    try {
        drawCurve(*plot, *run.curve, run.result.Peak);
    } catch (const RuntimeError&) {
        front.plotChanged();  // the segments drawn before the failure stay
        throw;
    }
    front.plotChanged();
}

void finishRun(RunFrontEnd& front, const RunInputs& inputs, ComputationOutcome outcome)
{
    try {
        if (outcome.error)
            std::rethrow_exception(outcome.error);
        auto run = std::make_shared<const FinishedRun>(std::move(*outcome.run));
        drawCurveOn(front, *run);
        front.finished(std::move(run));
    } catch (const RunCancelled&) {
        front.cancelled();
    } catch (const RuntimeError& error) {
        front.failed(describeFailure(error, inputs));
    }
}

}  // namespace

ComputationOutcome computeNow(const Computation& computation, std::stop_token stop)
{
    try {
        return {computation(std::move(stop)), nullptr};
    } catch (...) {
        return {std::nullopt, std::current_exception()};
    }
}

void startRun(const BoxTexts& texts, RunFrontEnd& front)
{
    RunInputs inputs;
    std::optional<PlotGeometry> geometry;
    try {
        front.wipe();
        inputs.Ratio = readRatio(texts.ratio);
        front.show();
        if (PlotImage* plot = front.plot()) {
            prepareAxes(*plot);
            front.plotChanged();
            geometry = plot->geometry();
        }
        inputs = readRunInputs(inputs.Ratio, {texts.timeConstant, texts.sampleCount, texts.crossover});
    } catch (const RuntimeError& error) {
        front.failed(describeFailure(error, inputs));
        return;
    }

    SampleObserver* extra = front.extraObserver();
    Computation computation = [texts, inputs, geometry, extra](std::stop_token stop) {
        FinishedRun run{texts, inputs, {}, {}, {}};
        if (geometry)
            run.curve.emplace(*geometry);
        CycleAnalysis cycles;
        ObserverList observers{run.curve ? &*run.curve : nullptr, &cycles, extra};
        run.result = simulate(inputs, observers, std::move(stop));
        run.cycles = cycles.measurements(run.result.Dt);
        return run;
    };
    front.compute(std::move(computation), [&front, inputs](ComputationOutcome outcome) {
        finishRun(front, inputs, std::move(outcome));
    });
}

}  // namespace wienbridge
