#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "circuit_theory.h"
#include "cycle_analysis.h"
#include "oscillator_model.h"
#include "support/reference_model.h"

using namespace wienbridge;

namespace {

struct SampledCurve {
    double frequency;
    double factorPerPeriod;
    std::int64_t crossings;
    double firstCrossing;  // in steps
    double lastCrossing;
};

// A step maps the state (Vp(i), integral before step i) linearly, with trace
// 2 - u and determinant 1 - d, where d = (3 - K) Dt / CR and u = d + (Dt / CR)².
// Its eigenvalues r e^(±iθ), of imaginary part r sin θ = √((Dt / CR)² - u² / 4)
// (so written to avoid cancellation), make Vp(i) = r^(i-1) (cos θ(i-1) + b sin θ(i-1))
// with b = -u / (2 r sin θ) for Vp(1) = 1: the frequency is θ / (2π Dt), the growth
// per period r^(2π/θ) = (1 - d)^(π/θ), and the zeros lie π/θ apart from
// θ(i-1) = atan2(2 r sin θ, u).
SampledCurve sampledTheory(const RunInputs& in, const RunResult& r)
{
    const double pi = std::numbers::pi;
    const double d = (3.0 - r.K) / in.CR * r.Dt;
    const double h2 = r.Dt * (r.Dt / (in.CR * in.CR));
    const double u = d + h2;
    const double imaginary = std::sqrt(h2 - u * u / 4);
    const double theta = std::atan2(imaginary, 1 - u / 2);
    const double first = 1 + std::atan2(2 * imaginary, u) / theta;
    const double half = pi / theta;
    const auto crossings = static_cast<std::int64_t>(std::floor((10.0 * in.N - first) / half)) + 1;
    return {theta / (2 * pi * r.Dt), std::pow(1 - d, pi / theta), crossings, first,
            first + static_cast<double>(crossings - 1) * half};
}

}  // namespace

TEST(CycleAnalysis, MatchesTheSampledCurve)
{
    // Fc 3 MHz: K is 1 + R1/R2. N = 10 puts every third sample on an exact zero.
    // Linear interpolation misses a crossing of r^i cos θi by up to ln(r) / 4
    // of a step (0.013 at N = 100); the crest samples alone would miss the
    // factor by 0.2 % at N = 100, the parabola through them by 0.01 %.
    struct Case {
        const char* curve;
        double cr;
        std::int32_t n;
        double ratio;
    };
    for (const Case c : {Case{"damped", 159.15e-6, 100, 1}, Case{"damped", 1e-3, 100000, 1},
                         Case{"sustained", 159.15e-6, 100, 2}, Case{"sustained", 1e-3, 100000, 2},
                         Case{"sustained", 159.15e-6, 10, 2}, Case{"growing", 159.15e-6, 100, 3},
                         Case{"growing", 1e-3, 100000, 3}}) {
        SCOPED_TRACE(::testing::Message() << c.curve << ", CR " << c.cr << ", N " << c.n);
        const RunInputs in{c.cr, 3, c.n, c.ratio};
        CycleAnalysis analysis;
        const RunResult r = simulate(in, analysis);
        const CycleMeasurements m = analysis.measurements(r.Dt);
        const SampledCurve e = sampledTheory(in, r);
        EXPECT_EQ(m.crossings, e.crossings);
        EXPECT_NEAR(m.firstCrossing.value_or(NAN) / r.Dt, e.firstCrossing, 0.02);
        EXPECT_NEAR(m.lastCrossing.value_or(NAN) / r.Dt, e.lastCrossing, 0.02);
        EXPECT_NEAR(m.frequency.value_or(NAN) / e.frequency, 1, 1e-3);
        EXPECT_NEAR(m.factorPerPeriod.value_or(NAN) / e.factorPerPeriod, 1, 1e-3);
    }
}

TEST(CycleAnalysis, GivesTheSameWhateverTheBlocks)
{
    test::SampleRecorder run;
    const RunResult r = simulate({159.15e-6, 3, 100, 3}, run);
    CycleAnalysis whole;
    whole.observe(1, run.vo, run.vo);
    const std::span<const double> vo = run.vo;
    for (std::size_t size = 1; size <= 9; ++size) {
        CycleAnalysis pieces;
        for (std::size_t first = 0; first < vo.size(); first += size) {
            const auto block = vo.subspan(first, std::min(size, vo.size() - first));
            pieces.observe(static_cast<std::int64_t>(first) + 1, block, block);
        }
        EXPECT_EQ(pieces.measurements(r.Dt), whole.measurements(r.Dt)) << size;
    }
}

TEST(CycleAnalysis, CrossingsBetweenSamplesNearTheLargestDoubleStayInTheMiddle)
{
    // |Vo(i)| + |Vo(i + 1)| would overflow.
    const std::vector<double> vo{1.5e308, -1.5e308, 1.5e308, -1.5e308};
    CycleAnalysis analysis;
    analysis.begin(4);
    analysis.observe(1, vo, vo);
    const CycleMeasurements m = analysis.measurements(1.0);
    EXPECT_EQ(m.firstCrossing, 1.5);
    EXPECT_EQ(m.lastCrossing, 3.5);
}

TEST(CycleAnalysis, ACurveThatDoesNotOscillateHasNoFrequencyOrFactor)
{
    // K = 1 dies away and K = 7 grows without swinging back; with no crossover every sample is 0.
    struct Case {
        const char* curve;
        double fc;
        double ratio;
    };
    for (const Case c : {Case{"dying", 3, 0}, Case{"growing", 3, 6}, Case{"zero", 0, 2}}) {
        CycleAnalysis analysis;
        const CycleMeasurements m =
            analysis.measurements(simulate({159.15e-6, c.fc, 100, c.ratio}, analysis).Dt);
        EXPECT_FALSE(m.oscillates()) << c.curve;
        EXPECT_FALSE(m.factorPerPeriod) << c.curve;
    }
}

TEST(CircuitTheory, OscillatesForAGainOfTwoToFourOnly)
{
    // CR 1 ms, Aol 3000.
    const double f0 = 159.15494309189535;  // 1 / (2π ms)
    const double pi = std::numbers::pi;
    const double damped = f0 * std::sqrt(0.75);
    struct Case {
        double ratio;
        std::int32_t gain;
        Regime regime;
        double stageGain;
        std::optional<double> frequency;
        std::optional<double> factorPerPeriod;
    };
    for (const Case c :
         {Case{0, 1, Regime::Damped, 3000.0 / 3001, {}, {}},
          Case{1, 2, Regime::Damped, 3000.0 / 1501, damped, std::exp(-2 * pi / std::sqrt(3.0))},
          Case{2, 3, Regime::Sustained, 3000.0 / 1001, f0, 1.0},
          Case{3, 4, Regime::Growing, 3000.0 / 751, damped, std::exp(2 * pi / std::sqrt(3.0))},
          Case{4, 5, Regime::Growing, 3000.0 / 601, {}, {}}}) {
        const auto same = [](std::optional<double> a, std::optional<double> b) {
            return a.has_value() == b.has_value() && (!a || std::fabs(*a - *b) <= 1e-15 * *b);
        };
        const CircuitTheory t = circuitTheory({1e-3, 3, 100, c.ratio}, {0, 3000, c.gain, 0});
        EXPECT_EQ(t.regime, c.regime) << c.gain;
        EXPECT_DOUBLE_EQ(t.stageGain, c.stageGain) << c.gain;
        EXPECT_DOUBLE_EQ(t.naturalFrequency, f0) << c.gain;
        EXPECT_TRUE(same(t.frequency, c.frequency)) << c.gain;
        EXPECT_TRUE(same(t.factorPerPeriod, c.factorPerPeriod)) << c.gain;
    }
}
