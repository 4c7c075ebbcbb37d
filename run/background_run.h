#pragma once

#include <functional>
#include <thread>

#include <QObject>

#include "run_sequence.h"

namespace wienbridge {

// Computes one run at a time on a worker thread, so that the window's thread
// keeps serving the windows; the outcome comes back on the thread that started
// it, through its event loop. Destroying it stops a computation under way and
// waits for its thread, which takes no longer than one block of samples.
class BackgroundRun : public QObject {
public:
    explicit BackgroundRun(QObject* parent = nullptr);
    ~BackgroundRun() override;

    bool isRunning() const { return running_; }

    // Starts the computation; `done` gets its outcome, or RunCancelled if
    // cancel() came first whatever the computation ended with. Only one at a time.
    void start(Computation computation, std::function<void(ComputationOutcome)> done);
    // Asks the computation to stop after its current block.
    void cancel();

private:
    std::jthread worker_;
    bool running_ = false;
    bool cancelled_ = false;
};

}  // namespace wienbridge
