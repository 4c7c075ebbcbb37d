#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulation/circuit_theory.h"
#include "simulation/finished_run.h"

namespace wienbridge {

// The box a sweep varies; the other three keep the texts of a run.
enum class SweptInput { TimeConstant, SampleCount, Crossover, Ratio };

enum class Spacing { Linear, Geometric };

// CR and fc are worth looking at over decades, N and R1/R2 step by step.
Spacing defaultSpacing(SweptInput input);

constexpr int kFewestSweepPoints = 2;
constexpr int kMostSweepPoints = 1000;

// The values a sweep gives its input, in its box's unit (µs, MHz).
struct SweepRange {
    SweptInput input = SweptInput::Crossover;
    double from = 0.0;
    double to = 0.0;
    int count = 0;
    Spacing spacing = Spacing::Geometric;
};

enum class RangeProblem {
    PointCount,            // outside kFewestSweepPoints..kMostSweepPoints
    GeometricNotPositive,  // a geometric range needs both ends above zero
    TooWide,               // the ends so far apart that their difference is no double
};
std::optional<RangeProblem> rangeProblem(const SweepRange& range);

// An end of a range as typed: a number the box would read whole ("." or ","
// as the point), or none for anything else, a number too large included.
std::optional<double> readSweepEnd(std::string_view text);

// Point `index`, 0 to count - 1, of a range without a problem: `from` and `to`
// exactly at the ends, evenly spaced or in equal ratios between, from + - * /
// and the project's own e^x and ln in a fixed order, so that every platform
// gives the same bits.
double sweepValue(const SweepRange& range, int index);

// The box texts of the run at one point: the swept box gets the value's
// shortest text, which the box reads back as that very double (and rounds,
// for N, as it rounds whatever is typed).
BoxTexts pointTexts(BoxTexts others, SweptInput input, double value);

// What a sweep shows of a run: what the samples measured, what the continuous
// circuit with a single-pole op-amp does, and the peak.
struct PointValues {
    std::int32_t K = 0;
    Regime regime = Regime::Sustained;
    std::optional<double> frequency;  // measured, Hz
    std::optional<double> factorPerPeriod;
    double naturalFrequency = 0.0;        // f0, Hz
    std::optional<Regime> circuitRegime;  // none where no such circuit exists
    std::optional<double> circuitFrequency;
    std::optional<double> circuitFactorPerPeriod;
    double peak = 0.0;

    bool operator==(const PointValues&) const = default;
};
PointValues pointValues(const FinishedRun& run);

// A point of a sweep: the run's values, or the first line of its failure.
struct SweepPoint {
    int index = 0;
    double value = 0.0;
    std::optional<PointValues> values;
    std::string error;
};

}  // namespace wienbridge
