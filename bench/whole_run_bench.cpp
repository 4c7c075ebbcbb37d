// Speed of a whole run as the user sees it (model, peak search and the curve
// drawn into a plot of the designed size) and of the readout under the pointer.

#include <benchmark/benchmark.h>

#include <QPixmap>
#include <QString>
#include <string>

#include "module_state.h"
#include "readout.h"
#include "run_sequence.h"
#include "waveform/waveform_test_support.h"

using namespace wienbridge;
using testing::BarePlot;

namespace {

void wholeRun(benchmark::State& state, CurveStroke stroke)
{
    const std::string n = std::to_string(state.range(0));
    ModuleState s;
    BarePlot plot(stroke);
    for (auto _ : state) {
        plot.picture.setPicture(QPixmap());
        readRatio(s, "2");
        runSequence(s, {"159.15", n, "3"}, plot);
        benchmark::DoNotOptimize(s.Peak);
    }
    state.SetItemsProcessed(state.iterations() * 10 * state.range(0));
}

void BM_WholeRun(benchmark::State& state)
{
    wholeRun(state, CurveStroke::ReducedPerColumn);
}
BENCHMARK(BM_WholeRun)->Arg(100)->Arg(10000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);

void BM_WholeRunEverySegment(benchmark::State& state)
{
    wholeRun(state, CurveStroke::EverySegment);
}
BENCHMARK(BM_WholeRunEverySegment)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One pointer move: the text of the readout, set as the plot's tooltip.
void BM_Readout(benchmark::State& state)
{
    ModuleState s;
    BarePlot plot;
    readRatio(s, "2");
    runSequence(s, {"159.15", std::to_string(state.range(0)), "3"}, plot);
    float x = 0;
    for (auto _ : state) {
        x = x < 100 ? x + 0.37F : 0.0F;
        plot.picture.setToolTip(readoutText(s, x, 62.0F).value_or(QString()));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Readout)->Arg(100)->Arg(10000000)->Unit(benchmark::kMicrosecond);

}  // namespace
