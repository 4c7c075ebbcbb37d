#pragma once

#include <functional>
#include <thread>

#include <QObject>

#include "run/run_sequence.h"

namespace wienbridge {

// Computes one run at a time on a worker thread, so that the window's thread
// keeps serving the windows; the outcome comes back on the thread that
// started it, through its event loop.
//
// The rules that keep it safe: the worker touches nothing but the computation
// (which owns what it observes) and the outcome it leaves here, then asks Qt to
// call computed() on this object's thread, a call that carries no data; that
// thread joins the worker before it reads the outcome, so everything the
// worker wrote is there to read. `done`, and everything else, runs on this
// object's thread. Destroying it stops a computation under way and waits for
// its thread, which takes no longer than one block of samples; a call posted
// meanwhile is dropped with it.
class BackgroundRun : public QObject {
    Q_OBJECT

public:
    explicit BackgroundRun(QObject* parent = nullptr);
    ~BackgroundRun() override;

    bool isRunning() const { return running_; }

    // Starts the computation; `done` gets its outcome, or RunCancelled if
    // cancel() came first, whatever the computation ended with. Only one at a
    // time: a start while running is ignored.
    void start(Computation computation, std::function<void(ComputationOutcome)> done);
    // Asks the computation to stop after its current block.
    void cancel();

private slots:
    void computed();

private:
    bool running_ = false;
    bool cancelled_ = false;
    std::function<void(ComputationOutcome)> done_;
    ComputationOutcome outcome_;  // written by the worker, read once it is joined
    // Last, so that it is the first member destroyed: its thread is stopped and
    // joined while everything it might reach still exists.
    std::jthread worker_;
};

}  // namespace wienbridge
