#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "failure_messages.h"
#include "finished_run.h"
#include "sample_observer.h"

namespace wienbridge {

class PlotImage;

// The model's part of a run, with its observers: what a front end may compute
// on another thread. It returns the finished run or throws what the model
// throws (RuntimeError, RunCancelled).
using Computation = std::function<FinishedRun(std::stop_token)>;

// What a computation ended with: the run, or what it threw.
struct ComputationOutcome {
    std::optional<FinishedRun> run;
    std::exception_ptr error;
};

// Computes on the calling thread, keeping what is thrown in the outcome.
ComputationOutcome computeNow(const Computation& computation, std::stop_token stop = {});

// What differs between the programs that run the oscillator: the windows, the
// command line and the benchmarks. The run sequence calls it, always from the
// thread that started the run.
class RunFrontEnd {
public:
    virtual ~RunFrontEnd() = default;

    // The run begins: the plot is erased and the last run forgotten.
    virtual void wipe() {}
    // The plot is shown to the user, with the empty axes to come.
    virtual void show() {}
    // Where the axes and the curve are drawn; null for a run that stops after
    // the peak (the command line without a picture).
    virtual PlotImage* plot() = 0;
    // Lines were drawn on the plot.
    virtual void plotChanged() {}
    // An observer of the samples beside the run's own (progress, a CSV
    // writer), or null. It is called on the thread that computes.
    virtual SampleObserver* extraObserver() { return nullptr; }
    // Computes, here or on another thread, and then calls `done` with the
    // outcome on the thread that started the run.
    virtual void compute(Computation computation, std::function<void(ComputationOutcome)> done) = 0;

    // How the run ended: exactly one of these, after every drawing.
    virtual void finished(std::shared_ptr<const FinishedRun> run) = 0;
    virtual void failed(const FailureMessage& failure) = 0;
    virtual void cancelled() {}
};

// One run, in the order the user sees it: the plot wiped, R1/R2 read, the plot
// shown with its axes, CR, fc and N read, the model computed with its
// observers, the curve drawn to its peak. The first failure ends the run and is
// the one reported, in the words of the failure messages.
void startRun(const BoxTexts& texts, RunFrontEnd& front);

}  // namespace wienbridge
