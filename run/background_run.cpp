#include "run/background_run.h"

#include <QMetaObject>

namespace wienbridge {

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {}

BackgroundRun::~BackgroundRun() = default;

void BackgroundRun::start(Computation computation, std::function<void(ComputationOutcome)> done)
{
    if (running_)
        return;
    running_ = true;
    cancelled_ = false;
    worker_ = std::jthread(
        [this, computation = std::move(computation), done = std::move(done)](std::stop_token stop) mutable {
            ComputationOutcome outcome = computeNow(computation, std::move(stop));
            QMetaObject::invokeMethod(
                this,
                [this, outcome = std::move(outcome), done = std::move(done)]() mutable {
                    finish(std::move(outcome), done);
                },
                Qt::QueuedConnection);
        });
}

void BackgroundRun::finish(ComputationOutcome outcome, const std::function<void(ComputationOutcome)>& done)
{
    worker_.join();
    if (cancelled_)
        outcome = {std::nullopt, std::make_exception_ptr(RunCancelled{})};
    // Still running while `done` reports, so that a message box's own event
    // loop cannot start a second run under the first one's feet; not running
    // once it returns, or throws.
    struct Ended {
        bool& running;
        ~Ended() { running = false; }
    } ended{running_};
    done(std::move(outcome));
}

void BackgroundRun::cancel()
{
    if (!running_)
        return;
    cancelled_ = true;
    worker_.request_stop();
}

}  // namespace wienbridge
