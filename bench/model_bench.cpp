// Speed of the oscillator engine: the model against the bare recurrence it is
// built on, the plain re-summing model it replaces, and the peak search.
// Each reports samples (10 * N per run) per second.

#include <benchmark/benchmark.h>

#include <vector>

#include "module_state.h"
#include "oscillator_model.h"
#include "peak_search.h"
#include "support/resumming_model.h"

using namespace wienbridge;

namespace {

ModuleState defaultParameters(std::int32_t n)
{
    ModuleState s;
    s.CR = 159.15 * 0.000001;
    s.Fc = 3;
    s.N = n;
    s.Ratio = 2;
    return s;
}

void reportSamples(benchmark::State& state, std::int64_t n)
{
    state.SetItemsProcessed(state.iterations() * 10 * n);
}

void BM_Model(benchmark::State& state)
{
    ModuleState s = defaultParameters(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        runModel(s);
        benchmark::DoNotOptimize(s.Vo.data());
    }
    reportSamples(state, state.range(0));
}
BENCHMARK(BM_Model)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ModelResumming(benchmark::State& state)
{
    ModuleState s = defaultParameters(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        reference::runModelResumming(s);
        benchmark::DoNotOptimize(s.Vo.data());
    }
    reportSamples(state, state.range(0));
}
BENCHMARK(BM_ModelResumming)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The arithmetic of the model's step and nothing else: no checks, no
// allocation, the arrays written in place. What the model is measured against.
void BM_BareRecurrence(benchmark::State& state)
{
    const std::int64_t steps = 10 * state.range(0);
    const ModuleState p = defaultParameters(static_cast<std::int32_t>(state.range(0)));
    const double dt = p.CR / (static_cast<double>(p.N) * 0.1);
    const double k = 3;
    const double damping = (3 - k) / p.CR;
    const double dtOverCrSquared = dt / (p.CR * p.CR);
    std::vector<double> vp(static_cast<std::size_t>(steps) + 2);
    std::vector<double> vo(static_cast<std::size_t>(steps) + 2);
    for (auto _ : state) {
        double sum = 0;
        double v = 1;
        vp[1] = v;
        for (std::int64_t i = 1; i <= steps; ++i) {
            sum = dt * v + sum;
            const double s = v - damping * v * dt;
            const double next = s - dtOverCrSquared * sum;
            vp[i + 1] = next;
            vo[i] = k * v;
            v = next;
        }
        benchmark::DoNotOptimize(vp.data());
        benchmark::DoNotOptimize(vo.data());
        benchmark::ClobberMemory();
    }
    reportSamples(state, state.range(0));
}
BENCHMARK(BM_BareRecurrence)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_PeakSearch(benchmark::State& state)
{
    ModuleState s = defaultParameters(static_cast<std::int32_t>(state.range(0)));
    runModel(s);
    for (auto _ : state) {
        findPeak(s);
        benchmark::DoNotOptimize(s.Peak);
    }
    reportSamples(state, state.range(0));
}
BENCHMARK(BM_PeakSearch)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace


