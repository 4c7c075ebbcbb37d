#include "simulation/sweep.h"

#include <cmath>

#include "runtime/elementary_functions.h"
#include "runtime/number_format.h"
#include "runtime/number_reading.h"
#include "simulation/op_amp_circuit.h"

namespace wienbridge {

Spacing defaultSpacing(SweptInput input)
{
    return input == SweptInput::TimeConstant || input == SweptInput::Crossover ? Spacing::Geometric
                                                                               : Spacing::Linear;
}

std::optional<RangeProblem> rangeProblem(const SweepRange& range)
{
    if (range.count < kFewestSweepPoints || range.count > kMostSweepPoints)
        return RangeProblem::PointCount;
    if (range.spacing == Spacing::Geometric && !(range.from > 0 && range.to > 0))
        return RangeProblem::GeometricNotPositive;
    if (!std::isfinite(range.to - range.from))
        return RangeProblem::TooWide;
    return std::nullopt;
}

std::optional<double> readSweepEnd(std::string_view text)
{
    try {
        if (howTextReads(text) == TextReading::Whole)
            return readNumber(text, Quantity::RatioText);
    } catch (const RuntimeError&) {
    }
    return std::nullopt;
}

double sweepValue(const SweepRange& range, int index)
{
    if (index <= 0)
        return range.from;
    if (index >= range.count - 1)
        return range.to;
    const double steps = range.count - 1;
    if (range.spacing == Spacing::Linear)
        return range.from + (range.to - range.from) * index / steps;
    // Between logarithms, so that no ratio of the ends overflows.
    const double first = naturalLogarithm(range.from);
    return exponential(first + (naturalLogarithm(range.to) - first) * index / steps);
}

BoxTexts pointTexts(BoxTexts others, SweptInput input, double value)
{
    std::string text;
    appendShortest(text, value);
    switch (input) {
    case SweptInput::TimeConstant:
        others.timeConstant = text;
        break;
    case SweptInput::SampleCount:
        others.sampleCount = text;
        break;
    case SweptInput::Crossover:
        others.crossover = text;
        break;
    case SweptInput::Ratio:
        others.ratio = text;
        break;
    }
    return others;
}

PointValues pointValues(const FinishedRun& run)
{
    const CircuitTheory ideal = circuitTheory(run.inputs, run.result);
    PointValues v{run.result.K,
                  ideal.regime,
                  run.cycles.frequency,
                  run.cycles.factorPerPeriod,
                  ideal.naturalFrequency,
                  {},
                  {},
                  {},
                  run.result.Peak};
    if (const OpAmpCircuit real = opAmpCircuit(run.inputs, run.result); real.exists) {
        v.circuitRegime = real.regime;
        v.circuitFrequency = real.frequency;
        v.circuitFactorPerPeriod = real.factorPerPeriod;
    }
    return v;
}

}  // namespace wienbridge
