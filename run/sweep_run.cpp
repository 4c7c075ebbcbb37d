#include "run/sweep_run.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "run/run_sequence.h"

namespace wienbridge {
namespace {

// How many points each worker may finish ahead of the delivery.
constexpr int kPointsAheadPerWorker = 4;

// The command line's run without --png: computed where it is started, nothing drawn.
class PointRun final : public RunFrontEnd {
public:
    explicit PointRun(std::stop_token stop) : stop_(std::move(stop)) {}

    std::optional<PointValues> values;
    std::string error;
    bool stopped = false;

private:
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
    {
        done(computeNow(computation, stop_));
    }
    void finished(std::shared_ptr<const FinishedRun> run) override { values = pointValues(*run); }
    void failed(const FailureMessage& failure) override { error = failure.name; }
    void cancelled() override { stopped = true; }

    std::stop_token stop_;
};

std::optional<SweepPoint> computePoint(const BoxTexts& others, const SweepRange& range, int index,
                                       std::stop_token stop)
{
    const double value = sweepValue(range, index);
    PointRun run(std::move(stop));
    startRun(pointTexts(others, range.input, value), run);
    if (run.stopped)
        return std::nullopt;
    return SweepPoint{index, value, std::move(run.values), std::move(run.error)};
}

}  // namespace

unsigned everyCore()
{
    return std::max(1U, std::thread::hardware_concurrency());
}

bool runSweep(const BoxTexts& others, const SweepRange& range, unsigned threads, std::stop_token stop,
              const std::function<void(SweepPoint)>& deliver)
{
    const int count = range.count;
    const int workers = static_cast<int>(std::clamp(threads, 1U, static_cast<unsigned>(std::max(count, 1))));
    const int ahead = kPointsAheadPerWorker * workers;
    // Guarded by `mutex`: point i, once done and until delivered, waits in done[i % ahead].
    std::mutex mutex;
    std::condition_variable_any changed;
    std::vector<std::optional<SweepPoint>> done(static_cast<std::size_t>(ahead));
    int started = 0;
    int delivered = 0;

    const auto work = [&](std::stop_token own) {
        std::unique_lock lock(mutex);
        while (changed.wait(lock, own, [&] { return started >= count || started < delivered + ahead; })
               && started < count && !own.stop_requested()) {
            const int index = started++;
            lock.unlock();
            std::optional<SweepPoint> point = computePoint(others, range, index, own);
            lock.lock();
            if (!point)
                return;
            done[static_cast<std::size_t>(index % ahead)] = std::move(point);
            changed.notify_all();
        }
    };
    // Destroyed in reverse: the forwarding of a stop request goes first, then
    // each worker is asked to stop and joined, however the sweep ends.
    std::vector<std::jthread> pool;
    for (int i = 0; i < workers; ++i)
        pool.emplace_back(work);
    const std::stop_callback forward(stop, [&] {
        for (std::jthread& worker : pool)
            worker.request_stop();
    });

    std::unique_lock lock(mutex);
    while (delivered < count) {
        std::optional<SweepPoint>& next = done[static_cast<std::size_t>(delivered % ahead)];
        if (!changed.wait(lock, stop, [&] { return next.has_value(); }) || stop.stop_requested())
            return false;
        SweepPoint point = std::move(*next);
        next.reset();
        lock.unlock();
        deliver(std::move(point));
        lock.lock();
        ++delivered;
        changed.notify_all();
    }
    return true;
}

}  // namespace wienbridge
