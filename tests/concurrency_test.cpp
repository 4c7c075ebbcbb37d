// The worker threads as the windows drive them, with nothing but Qt Core, so
// that ThreadSanitizer can watch every access of the program's own code.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "run/background_run.h"
#include "run/background_sweep.h"
#include "run/progress_counter.h"
#include "run/sample_export.h"

using namespace wienbridge;

namespace {

// Serves the event loop until the run is over, reading its progress every
// millisecond meanwhile, as the progress dialog does; returns the most it saw done.
std::int64_t watch(const BackgroundRun& background, const ProgressCounter& progress)
{
    std::int64_t seen = 0;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        seen = std::max(seen, progress.total() > 0 ? progress.done() : 0);
        if (!background.isRunning())
            QCoreApplication::exit();
    });
    look.start(1);
    QCoreApplication::exec();
    return seen;
}

// A front end like the window's, computing on a worker.
class WorkerFrontEnd final : public RunFrontEnd {
public:
    BackgroundRun background;
    std::shared_ptr<ProgressCounter> progress = std::make_shared<ProgressCounter>();
    std::string ended;

private:
    std::shared_ptr<SampleObserver> observer(const RunInputs&) override { return progress; }
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
    {
        background.start(std::move(computation), std::move(done));
    }
    void finished(std::shared_ptr<const FinishedRun> run) override
    {
        ended = "K=" + std::to_string(run->result.K);
    }
    void failed(const FailureMessage& failure) override { ended = failure.name; }
    void cancelled() override { ended = "cancelled"; }
};

}  // namespace

TEST(Concurrency, RunsAndExportsComputeOnTheirWorkerAndEndOnTheWindowsThread)
{
    const struct {
        const char* n;
        bool cancel;
        const char* ended;
    } runs[] = {
        {"300000", false, "K=3"}, {"100000000", true, "cancelled"}, {"0", false, "Divisione per zero"}};
    for (const auto& run : runs) {
        WorkerFrontEnd front;
        startRun({"159.15", run.n, "3", "2"}, front);
        if (run.cancel)
            QTimer::singleShot(20, [&] { front.background.cancel(); });
        const std::int64_t seen = watch(front.background, *front.progress);
        EXPECT_EQ(front.ended, run.ended) << run.n;
        EXPECT_EQ(seen > 0, std::string(run.n) != "0") << run.n;
    }

    // An export writes its file on the worker, and leaves none when stopped.
    const QString path = QDir::temp().filePath(QStringLiteral("wienbridge-concurrency.csv"));
    for (const bool cancel : {false, true}) {
        QFile::remove(path);
        BackgroundRun background;
        auto progress = std::make_shared<ProgressCounter>();
        bool written = false;
        background.start(sampleExport({159.15e-6, 3, cancel ? 100000000 : 1000, 2}, path, progress),
                         [&](ComputationOutcome outcome) { written = !outcome.error; });
        if (cancel)
            QTimer::singleShot(20, [&] { background.cancel(); });
        watch(background, *progress);
        EXPECT_EQ(written, !cancel);
        EXPECT_EQ(QFile::exists(path), !cancel);
    }

    // Destroyed mid-run, as when the program ends: the worker stops and is joined.
    auto quitting = std::make_unique<BackgroundRun>();
    quitting->start(sampleExport({159.15e-6, 3, 100000000, 2}, path, nullptr), [](ComputationOutcome) {});
    quitting.reset();
}

// A sweep on three workers brings its points back in order, each what the
// single run at its value gives; stopped or destroyed, it ends within a block.
TEST(Concurrency, SweepsComputeOnEveryWorkerAndBringTheirPointsBackInOrder)
{
    const BoxTexts others{"159.15", "20000", "3", "2"};
    struct Single final : RunFrontEnd {
        std::optional<PointValues> values;
        std::string error;
        void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
        {
            done(computeNow(computation));
        }
        void finished(std::shared_ptr<const FinishedRun> run) override { values = pointValues(*run); }
        void failed(const FailureMessage& failure) override { error = failure.name; }
    };
    for (const bool cancel : {false, true}) {
        const SweepRange range{SweptInput::Crossover, 3, 0.0005, cancel ? 1000 : 12, Spacing::Geometric};
        BackgroundSweep sweep;
        std::vector<SweepPoint> points;
        std::optional<bool> complete;
        QObject::connect(&sweep, &BackgroundSweep::pointsArrived, [&] {
            for (SweepPoint& point : sweep.takePoints())
                points.push_back(std::move(point));
        });
        QObject::connect(&sweep, &BackgroundSweep::ended, [&](bool all) {
            complete = all;
            QCoreApplication::exit();
        });
        sweep.start(others, range, 3);
        if (cancel)
            QTimer::singleShot(20, [&] { sweep.cancel(); });
        QCoreApplication::exec();
        EXPECT_EQ(complete, !cancel);
        EXPECT_EQ(points.size() == static_cast<std::size_t>(range.count), !cancel);
        for (std::size_t i = 0; i < points.size(); ++i) {
            Single single;
            startRun(pointTexts(others, range.input, sweepValue(range, static_cast<int>(i))), single);
            EXPECT_EQ(points[i].index, static_cast<int>(i));
            EXPECT_EQ(points[i].values, single.values) << i;
        }
    }
    auto quitting = std::make_unique<BackgroundSweep>();
    quitting->start(others, {SweptInput::SampleCount, 1e8, 2e8, 5, Spacing::Linear}, 2);
    quitting.reset();
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
