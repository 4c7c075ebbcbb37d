#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

#include "messages/failure_messages.h"
#include "simulation/finished_run.h"
#include "simulation/sample_observer.h"

namespace wienbridge {

// The model's part of a run, with its observers: what a front end may compute
// on another thread. It returns the finished run or throws what the model or
// an observer throws (RuntimeError, RunCancelled, anything else).
using Computation = std::function<FinishedRun(std::stop_token)>;

// What a computation ended with: the run, or what it threw.
struct ComputationOutcome {
    std::optional<FinishedRun> run;
    std::exception_ptr error;
};

// Computes on the calling thread, keeping whatever is thrown in the outcome.
ComputationOutcome computeNow(const Computation& computation, std::stop_token stop = {});

// What differs between the programs that run the oscillator: the windows, the
// command line and the benchmarks. The run sequence calls it, always from the
// thread that started the run, and knows nothing of how it draws.
class RunFrontEnd {
public:
    virtual ~RunFrontEnd() = default;

    // The run begins: the plot is erased and the last run forgotten.
    virtual void wipe() {}
    // The plot is shown to the user, with the empty axes to come.
    virtual void show() {}
    // The axes are drawn, by a front end that draws.
    virtual void prepareAxes() {}
    // What observes the samples beside the run's own analysis (the plot's
    // reduction, progress, a CSV writer), or null, once the boxes are read
    // into `inputs`. The computation keeps it alive while it runs, on
    // whichever thread computes.
    virtual std::shared_ptr<SampleObserver> observer(const RunInputs& /*inputs*/) { return nullptr; }
    // Computes, here or on another thread, and then calls `done` with the
    // outcome on the thread that started the run.
    virtual void compute(Computation computation, std::function<void(ComputationOutcome)> done) = 0;

    // How the run ended: exactly one of these. A front end that draws the
    // curve in finished() may throw the RuntimeError of a curve that cannot
    // be drawn (every sample 0): the run then ends as failed() with it.
    virtual void finished(std::shared_ptr<const FinishedRun> run) = 0;
    virtual void failed(const FailureMessage& failure) = 0;
    virtual void cancelled() {}
};

// One run, in the order the user sees it: the plot wiped, R1/R2 read, the plot
// shown with its axes, CR, fc and N read, the model computed with its
// observers, the outcome handed back. The first failure ends the run and is
// the one reported, in the words of the failure messages; whatever else a
// computation throws is reported as a failure too.
void startRun(const BoxTexts& texts, RunFrontEnd& front);

}  // namespace wienbridge
