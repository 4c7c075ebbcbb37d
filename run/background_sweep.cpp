#include "run/background_sweep.h"

#include <utility>

#include <QMetaObject>

#include "run/sweep_run.h"

namespace wienbridge {

BackgroundSweep::BackgroundSweep(QObject* parent) : QObject(parent) {}

BackgroundSweep::~BackgroundSweep() = default;

void BackgroundSweep::start(const BoxTexts& others, const SweepRange& range, unsigned threads)
{
    if (running_)
        return;
    running_ = true;
    takePoints();
    worker_ = std::jthread([this, others, range, threads](std::stop_token stop) {
        complete_ = runSweep(others, range, threads, stop, [this](SweepPoint point) {
            const std::lock_guard lock(mutex_);
            arrived_.push_back(std::move(point));
            if (!callPosted_)
                QMetaObject::invokeMethod(this, "arrived", Qt::QueuedConnection);
            callPosted_ = true;
        });
        QMetaObject::invokeMethod(this, "computed", Qt::QueuedConnection);
    });
}

void BackgroundSweep::cancel()
{
    if (running_)
        worker_.request_stop();
}

std::vector<SweepPoint> BackgroundSweep::takePoints()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(arrived_, {});
}

void BackgroundSweep::arrived()
{
    {
        const std::lock_guard lock(mutex_);
        callPosted_ = false;
    }
    emit pointsArrived();
}

void BackgroundSweep::computed()
{
    worker_.join();
    running_ = false;
    emit pointsArrived();
    emit ended(complete_);
}

}  // namespace wienbridge
