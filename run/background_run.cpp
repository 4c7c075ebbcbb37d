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
    done_ = std::move(done);
    worker_ = std::jthread([this, computation = std::move(computation)](std::stop_token stop) {
        outcome_ = computeNow(computation, std::move(stop));
        QMetaObject::invokeMethod(this, "computed", Qt::QueuedConnection);
    });
}

void BackgroundRun::computed()
{
    worker_.join();
    ComputationOutcome outcome = std::move(outcome_);
    if (cancelled_)
        outcome = {std::nullopt, std::make_exception_ptr(RunCancelled{})};
    // Still running while `done` reports, so that a message box's own event
    // loop cannot start a second run under the first one's feet; not running
    // once it returns, or throws.
    struct Ended {
        bool& running;
        ~Ended() { running = false; }
    } ended{running_};
    const std::function<void(ComputationOutcome)> done = std::move(done_);
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
