#include "run/run_sequence.h"

#include "simulation/oscillator_model.h"
#include "simulation/parameter_reading.h"

namespace wienbridge {
namespace {

void finishRun(RunFrontEnd& front, const RunInputs& inputs, ComputationOutcome outcome)
{
    try {
        if (outcome.error)
            std::rethrow_exception(outcome.error);
        front.finished(std::make_shared<const FinishedRun>(std::move(*outcome.run)));
    } catch (const RunCancelled&) {
        front.cancelled();
    } catch (const RuntimeError& error) {
        front.failed(describeFailure(error, inputs));
    } catch (...) {
        front.failed(describeUnexpectedFailure(std::current_exception()));
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
    try {
        front.wipe();
        inputs.Ratio = readRatio(texts.ratio);
        front.show();
        front.prepareAxes();
        inputs = readRunInputs(inputs.Ratio, {texts.timeConstant, texts.sampleCount, texts.crossover});
    } catch (const RuntimeError& error) {
        front.failed(describeFailure(error, inputs));
        return;
    }

    Computation computation = [texts, inputs, extra = front.observer(inputs)](std::stop_token stop) {
        FinishedRun run{texts, inputs, {}, {}};
        CycleAnalysis cycles;
        ObserverList observers{&cycles, extra.get()};
        run.result = simulate(inputs, observers, std::move(stop));
        run.cycles = cycles.measurements(run.result.Dt);
        return run;
    };
    front.compute(std::move(computation), [&front, inputs](ComputationOutcome outcome) {
        finishRun(front, inputs, std::move(outcome));
    });
}

}  // namespace wienbridge
