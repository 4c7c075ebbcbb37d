#include "background_run.h"

#include <QMetaObject>

namespace wienbridge {

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {}

// The thread is asked to stop and joined by the member's own destructor; what
// it posts back meanwhile is dropped by Qt with this object.
BackgroundRun::~BackgroundRun() = default;

void BackgroundRun::start(Computation computation, std::function<void(ComputationOutcome)> done)
{
    running_ = true;
    cancelled_ = false;
    worker_ = std::jthread(
        [this, computation = std::move(computation), done = std::move(done)](std::stop_token stop) mutable {
            ComputationOutcome outcome = computeNow(computation, std::move(stop));
            QMetaObject::invokeMethod(
                this,
                [this, outcome = std::move(outcome), done = std::move(done)]() mutable {
                    worker_.join();
                    if (cancelled_)
                        outcome = {std::nullopt, std::make_exception_ptr(RunCancelled{})};
                    // Still running while `done` reports: a message box's own event
                    // loop must not let a second run start under the first one's feet.
                    done(std::move(outcome));
                    running_ = false;
                },
                Qt::QueuedConnection);
        });
}

void BackgroundRun::cancel()
{
    if (!running_)
        return;
    cancelled_ = true;
    worker_.request_stop();
}

}  // namespace wienbridge
