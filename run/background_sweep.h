#pragma once

#include <mutex>
#include <thread>
#include <vector>

#include <QObject>

#include "simulation/sweep.h"

namespace wienbridge {

// A sweep computed away from the window's thread, on every core (runSweep),
// its points brought back as they come, in order.
//
// The rules that keep it safe, as for BackgroundRun: the workers touch only
// what the sweep owns; the thread that delivers the points puts them in a list
// guarded by a mutex and asks Qt for a call on this object's thread that
// carries no data, in which the list is taken under the same mutex; the end is
// read once that thread is joined. Destroying it stops a sweep under way and
// waits for its threads, within a block of samples of every point under way.
class BackgroundSweep : public QObject {
    Q_OBJECT

public:
    explicit BackgroundSweep(QObject* parent = nullptr);
    ~BackgroundSweep() override;

    bool isRunning() const { return running_; }
    // Starts a sweep of a range without a problem; ignored while one runs.
    void start(const BoxTexts& others, const SweepRange& range, unsigned threads);
    // Asks the sweep to stop; ended() follows.
    void cancel();
    // The points delivered since the last call, in order.
    std::vector<SweepPoint> takePoints();

signals:
    // There are points to take.
    void pointsArrived();
    // The sweep is over, with every point delivered or not.
    void ended(bool complete);

private slots:
    void arrived();
    void computed();

private:
    std::mutex mutex_;
    std::vector<SweepPoint> arrived_;  // guarded by mutex_
    bool callPosted_ = false;          // guarded by mutex_: arrived() is on its way
    bool complete_ = false;            // written by the worker, read once it is joined
    bool running_ = false;
    // Last, so that it is the first member destroyed: stopped and joined while
    // everything it reaches still exists.
    std::jthread worker_;
};

}  // namespace wienbridge
