// Speed of a run: the machine's limit (the bare recurrence with the peak and
// the per-column reduction in one loop, nothing stored), the model alone, a
// whole run as the user sees it (the boxes read, the model on a worker thread
// with its observers, the axes and the curve drawn into a plot of the designed
// size), a zoom, a sweep on one worker and on every core, the op-amp circuit
// solved once, and what the window's thread does: the readout under the
// pointer, Risultati, the axis values, a redraw and the cursors.
// Each run reports samples (10 * N) per second; the circuit, solutions per second.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <QEventLoop>
#include <stdexcept>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include "plot/curve_reduction.h"
#include "plot/line_raster.h"
#include "plot/plot_drawing.h"
#include "run/background_run.h"
#include "run/run_sequence.h"
#include "run/sweep_run.h"
#include "runtime/clear_upper_vector_halves.h"
#include "simulation/cycle_analysis.h"
#include "simulation/op_amp_circuit.h"
#include "simulation/oscillator_model.h"
#include "waveform/plot_picture.h"
#include "waveform/plot_view.h"
#include "waveform/readout.h"
#include "waveform/results_window.h"
#include "waveform/waveform_window.h"
#include "widget_helpers/error_report.h"

using namespace wienbridge;

namespace {

void reportSamples(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * 10 * state.range(0));
}

// The default run of the parameter window with the given N (CR 159.15 us, Fc 3 MHz, R1/R2 = 2).
RunInputs defaults(benchmark::State& state)
{
    return {159.15e-6, 3, static_cast<std::int32_t>(state.range(0)), 2};
}

void BM_StreamingLimit(benchmark::State& state)
{
    const RunInputs in = defaults(state);
    const std::int64_t steps = 10 * state.range(0);
    const double dt = in.CR / (static_cast<double>(in.N) * 0.1);
    const double gain = 3;
    const double damping = (3 - gain) / in.CR;
    const double dtOverCrSquared = dt / (in.CR * in.CR);
    // Where each pixel column ends, worked out before: the limit is the loop.
    std::vector<std::int64_t> columnEnds;
    const PlotGeometry geometry;
    for (std::int64_t k = 1; k <= steps; ++k)
        if (k == steps
            || nearestPixel(geometry.deviceX(sampleX(k + 1, steps)))
                   != nearestPixel(geometry.deviceX(sampleX(k, steps))))
            columnEnds.push_back(k);
    std::vector<double> columns(4 * columnEnds.size());
    for (auto _ : state) {
        double sum = 0, v = 1, peak = 0;
        std::int64_t k = 1;
        for (std::size_t c = 0; c < columnEnds.size(); ++c) {
            const double first = gain * v;
            double low = first, high = first, vo = first;
            for (; k <= columnEnds[c]; ++k) {
                sum = dt * v + sum;
                const double s = v - damping * v * dt;
                vo = gain * v;
                v = s - dtOverCrSquared * sum;
                peak = std::max(peak, std::fabs(vo));
                low = std::min(low, vo);
                high = std::max(high, vo);
            }
            columns[4 * c] = first, columns[4 * c + 1] = low, columns[4 * c + 2] = high,
                        columns[4 * c + 3] = vo;
        }
        benchmark::DoNotOptimize(peak);
        benchmark::DoNotOptimize(columns.data());
        benchmark::ClobberMemory();
    }
    reportSamples(state);
}
BENCHMARK(BM_StreamingLimit)->Arg(100)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);

class NoObserver final : public SampleObserver {
public:
    void observe(std::int64_t, std::span<const double>, std::span<const double>) override {}
};

void BM_Model(benchmark::State& state)
{
    NoObserver none;
    for (auto _ : state)
        benchmark::DoNotOptimize(simulate(defaults(state), none));
    reportSamples(state);
}
BENCHMARK(BM_Model)->Arg(100)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);

// Times only what another observer spends on each block, so that it sees the
// blocks as in a run, fresh in the first-level cache. The clock readings,
// about 50 ns a block on the development machine, add 0.05 ns a sample.
class TimedObserver final : public SampleObserver {
public:
    explicit TimedObserver(SampleObserver& timed) : timed_(timed) {}
    void begin(std::int64_t sampleCount) override { timed_.begin(sampleCount); }
    void observe(std::int64_t, std::span<const double>, std::span<const double>) override {}
    void observeWithBounds(std::int64_t first, std::span<const double> vp, std::span<const double> vo,
                           Bounds bounds) override
    {
        const auto start = std::chrono::steady_clock::now();
        timed_.observeWithBounds(first, vp, vo, bounds);
        spent += std::chrono::steady_clock::now() - start;
    }

    std::chrono::duration<double> spent{};

private:
    SampleObserver& timed_;
};

void BM_CycleAnalysis(benchmark::State& state)
{
    for (auto _ : state) {
        CycleAnalysis analysis;
        TimedObserver timed(analysis);
        const RunResult result = simulate(defaults(state), timed);
        benchmark::DoNotOptimize(analysis.measurements(result.Dt));
        state.SetIterationTime(timed.spent.count());
    }
    reportSamples(state);
}
BENCHMARK(BM_CycleAnalysis)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The run as the window does it, the model on a worker thread with all its
// observers (the peak, the plot's reduction, the cycle analysis), into a
// Picture1 never shown: the event loop waits for the outcome as the window's does.
class BenchmarkRun final : public RunFrontEnd {
public:
    void runOnce(const BoxTexts& texts)
    {
        startRun(texts, *this);
        loop_.exec();
        if (!finished_)
            throw std::runtime_error("the run failed");
    }

private:
    void wipe() override
    {
        finished_ = false;
        picture_.setPicture(QImage());
    }
    void prepareAxes() override
    {
        wienbridge::prepareAxes(picture_.plot());
        curve_ = std::make_shared<CurveReduction>(picture_.plot().geometry());
    }
    std::shared_ptr<SampleObserver> observer(const RunInputs&) override { return curve_; }
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
    {
        background_.start(std::move(computation), [this, done = std::move(done)](ComputationOutcome outcome) {
            done(std::move(outcome));
            loop_.quit();
        });
    }
    void finished(std::shared_ptr<const FinishedRun> run) override
    {
        drawCurve(picture_.plot(), *curve_, run->result.Peak);
        picture_.showDrawing();
        finished_ = true;
    }
    void failed(const FailureMessage&) override {}

    PlotPicture picture_;
    std::shared_ptr<CurveReduction> curve_;
    BackgroundRun background_;
    QEventLoop loop_;
    bool finished_ = false;
};

BoxTexts defaultBoxes(benchmark::State& state)
{
    return {"159.15", std::to_string(state.range(0)), "3", "2"};
}

void BM_WholeRun(benchmark::State& state)
{
    BenchmarkRun run;
    const BoxTexts boxes = defaultBoxes(state);
    for (auto _ : state)
        run.runOnce(boxes);
    reportSamples(state);
}
BENCHMARK(BM_WholeRun)->Arg(100)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// How long the program takes to end with a run under way: the run's worker is
// stopped and joined as its BackgroundRun goes, only the time of that timed.
void BM_StopRun(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto background = std::make_unique<BackgroundRun>();
        background->start(
            [](std::stop_token stop) {
                NoObserver none;
                return FinishedRun{{}, {}, simulate({159.15e-6, 3, 100000000, 2}, none, std::move(stop)), {}};
            },
            [](ComputationOutcome) {});
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        state.ResumeTiming();
        background.reset();
    }
}
BENCHMARK(BM_StopRun)->Iterations(50)->Unit(benchmark::kMillisecond)->UseRealTime();

// One pointer move: the text of the readout, set as the plot's tooltip.
void BM_Readout(benchmark::State& state)
{
    PlotPicture picture;
    float x = 0;
    for (auto _ : state) {
        x = x < 100 ? x + 0.37F : 0.0F;
        picture.setToolTip(readoutText({159.15e-6, 3.0037547517414542, {}}, x, 62.0F));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Readout)->Arg(100)->Unit(benchmark::kMicrosecond);

// The op-amp circuit solved once, as a run's results need it: the modes of its
// cubic and the smallest sustaining ratio, for CR 159.15 us, R1/R2 = 2 and the
// crossover frequency in kHz (Aol as a run of the model works it out).
void BM_OpAmpCircuit(benchmark::State& state)
{
    const RunInputs in{159.15e-6, static_cast<double>(state.range(0)) / 1000, 1, 2};
    NoObserver none;
    const RunResult result = simulate(in, none);
    for (auto _ : state)
        benchmark::DoNotOptimize(opAmpCircuit(in, result));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OpAmpCircuit)->Arg(3000)->Arg(100)->Arg(16)->Unit(benchmark::kMicrosecond);

// A finished default run of the given N, as the window keeps it, with its curves.
struct KeptRun {
    std::shared_ptr<const FinishedRun> run;
    ViewCurves curves;
};

KeptRun finishedRun(std::int64_t n)
{
    class Keeper final : public RunFrontEnd {
    public:
        std::shared_ptr<SampleObserver> observer(const RunInputs& inputs) override
        {
            kept.curves = curvesOfNewRun(PlotGeometry{}, inputs, std::nullopt);
            return std::make_shared<SharedObservers>(SharedObservers{kept.curves.curve, kept.curves.values});
        }
        void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
        {
            done(computeNow(computation));
        }
        void finished(std::shared_ptr<const FinishedRun> run) override { kept.run = std::move(run); }
        void failed(const FailureMessage&) override {}
        KeptRun kept;
    } keeper;
    startRun({"159.15", std::to_string(n), "3", "2"}, keeper);
    return keeper.kept;
}

// A waveform window showing the finished run of N = n, as after a click.
struct ShownRun {
    explicit ShownRun(std::int64_t n) : kept(finishedRun(n))
    {
        window.beginRun();
        window.showRun(kept.run, kept.curves);
    }
    KeptRun kept;
    MessageBoxErrorReport errors;
    WaveformWindow window{errors};
};

// "Risultati" given a finished run and painted whole: it reads what the run
// measured, so the cost does not grow with N.
void BM_OpenResults(benchmark::State& state)
{
    const std::shared_ptr<const FinishedRun> run = finishedRun(state.range(0)).run;
    ResultsWindow results;
    for (auto _ : state) {
        results.showRun(run.get());
        benchmark::DoNotOptimize(results.grab());
    }
}
BENCHMARK(BM_OpenResults)->Arg(100)->Arg(10000000)->Unit(benchmark::kMillisecond);

// A zoom to a tenth of the run, as the window does it: the curves of the
// window computed on a worker thread, the model stopped at the window's end,
// then the plot erased and drawn again. Arguments: N, and where the window
// ends, in per cent of the run; the samples counted are those computed.
void BM_Zoom(benchmark::State& state)
{
    ShownRun shown(state.range(0));
    const KeptRun& kept = shown.kept;
    WaveformWindow& window = shown.window;
    const double end = static_cast<double>(state.range(1));
    BackgroundRun background;
    QEventLoop loop;
    for (auto _ : state) {
        const ViewCurves curves = curvesOfWindow(window.plotImage().geometry(), {end - 10, end},
                                                 kept.run->inputs, kept.run->result.Samples, std::nullopt);
        background.start(
            windowRun(kept.run->inputs, std::nullopt, curves, std::make_shared<ProgressCounter>()),
            [&](ComputationOutcome) {
                window.showView(curves);
                loop.quit();
            });
        loop.exec();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1) / 10);
}
BENCHMARK(BM_Zoom)
    ->Args({100000, 10})
    ->Args({100000, 100})
    ->Args({10000000, 10})
    ->Args({10000000, 100})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the window's thread does of a zoom once its curves are computed, and
// of removing a reference: the plot erased and drawn from the reduced
// columns, and the waveform window painted whole.
void BM_RedrawWindow(benchmark::State& state)
{
    ShownRun shown(state.range(0));
    WaveformWindow& window = shown.window;
    for (auto _ : state) {
        window.showView(shown.kept.curves);
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_RedrawWindow)->Arg(100)->Arg(10000000)->Unit(benchmark::kMillisecond);

// An arrow key moving a cursor, and the waveform window painted whole with
// the cursors and their readings.
void BM_MoveCursor(benchmark::State& state)
{
    ShownRun shown(state.range(0));
    WaveformWindow& window = shown.window;
    window.findChild<QMenu*>()->actions()[2]->toggle();
    int step = 0;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, ++step % 200 < 100 ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(window.plot(), &key);
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_MoveCursor)->Arg(100)->Unit(benchmark::kMillisecond);

// "Valori sugli assi" switched, and the whole waveform window painted again,
// the plot and the values in its margins.
void BM_ToggleAxisValues(benchmark::State& state)
{
    ShownRun shown(state.range(0));
    WaveformWindow& window = shown.window;
    QAction* axisValues = window.findChild<QMenu*>()->actions()[1];
    for (auto _ : state) {
        axisValues->toggle();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_ToggleAxisValues)->Arg(100)->Arg(10000000)->Unit(benchmark::kMillisecond);

// The bare loop after Qt's image fill, with the AVX registers' upper halves
// left in use (0) and cleared (1): what the model's clearing of them saves.
void BM_UpperHalves(benchmark::State& state)
{
    QImage image(901, 501, QImage::Format_RGB32);
    const RunInputs in = defaults(state);
    const double dt = in.CR / (static_cast<double>(in.N) * 0.1);
    const double dtOverCrSquared = dt / (in.CR * in.CR);
    for (auto _ : state) {
        image.fill(Qt::yellow);
        if (state.range(1) == 1)
            clearUpperVectorHalves();
        double sum = 0, v = 1, peak = 0;
        for (std::int64_t k = 0; k < 10 * state.range(0); ++k) {
            sum = dt * v + sum;
            const double s = v - 0.0 * v * dt;
            peak = std::max(peak, std::fabs(3 * v));
            v = s - dtOverCrSquared * sum;
        }
        benchmark::DoNotOptimize(peak);
    }
    reportSamples(state);
}
BENCHMARK(BM_UpperHalves)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

// A sweep of 64 points of N = 200 000, fc from 1 kHz to 10 MHz, on one worker
// (1) and on every core (0): what the cores save over a point at a time.
void BM_Sweep(benchmark::State& state)
{
    const SweepRange range{SweptInput::Crossover, 0.001, 10, 64, Spacing::Geometric};
    const unsigned threads = state.range(0) == 0 ? everyCore() : static_cast<unsigned>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            runSweep({"159.15", "200000", "3", "2"}, range, threads, {}, [](SweepPoint) {}));
    state.SetLabel(std::to_string(threads) + " thread");
    state.SetItemsProcessed(state.iterations() * 64 * 10 * 200000);
}
BENCHMARK(BM_Sweep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
