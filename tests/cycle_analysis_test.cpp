#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "simulation/cycle_analysis.h"
#include "simulation/oscillator_model.h"
#include "tests/support/reference_model.h"

using namespace wienbridge;

TEST(CycleAnalysis, MatchesTheSampledCurve)
{
    // A step maps the state (Vp(i), integral before step i) linearly, with trace
    // 2 - u and determinant 1 - d, where d = (3 - K) Dt / CR and u = d + (Dt / CR)².
    // Its eigenvalues r e^(±iθ), of imaginary part r sin θ = √((Dt / CR)² - u² / 4)
    // (so written to avoid cancellation), make Vp(i) = r^(i-1) (cos θ(i-1) + b sin θ(i-1))
    // with b = -u / (2 r sin θ) for Vp(1) = 1: the frequency is θ / (2π Dt), the growth
    // per period r^(2π/θ) = (1 - d)^(π/θ), and the zeros lie π/θ apart from
    // θ(i-1) = atan2(2 r sin θ, u). Linear interpolation misses a zero by up to
    // ln(r) / 4 of a step (0.013 at N = 100); the crest samples alone would miss
    // the factor by 0.2 % at N = 100, the parabola through them by about 0.01 %,
    // the frequency by less than 1e-5.
    // Fc 3 MHz: K is 1 + R1/R2. N = 10 puts every third sample on an exact zero.
    const double pi = std::numbers::pi;
    for (auto [curve, cr, n, ratio] : {std::tuple{"damped", 159.15e-6, 100, 1.0},
                                       {"damped", 1e-3, 100000, 1.0},
                                       {"sustained", 159.15e-6, 100, 2.0},
                                       {"sustained", 1e-3, 100000, 2.0},
                                       {"sustained", 159.15e-6, 10, 2.0},
                                       {"growing", 159.15e-6, 100, 3.0},
                                       {"growing", 1e-3, 100000, 3.0}}) {
        SCOPED_TRACE(::testing::Message() << curve << ", CR " << cr << ", N " << n);
        CycleAnalysis analysis;
        const RunResult r = simulate({cr, 3, n, ratio}, analysis);
        const CycleMeasurements m = analysis.measurements(r.Dt);
        const double d = (3.0 - r.K) / cr * r.Dt;
        const double h2 = r.Dt * (r.Dt / (cr * cr));
        const double u = d + h2;
        const double imaginary = std::sqrt(h2 - u * u / 4);
        const double theta = std::atan2(imaginary, 1 - u / 2);
        const double first = 1 + std::atan2(2 * imaginary, u) / theta;  // in steps
        const double crossings = std::floor((10.0 * n - first) * theta / pi) + 1;
        EXPECT_EQ(static_cast<double>(m.crossings), crossings);
        EXPECT_NEAR(m.firstCrossing.value_or(NAN) / r.Dt, first, 0.02);
        EXPECT_NEAR(m.lastCrossing.value_or(NAN) / r.Dt, first + (crossings - 1) * pi / theta, 0.02);
        EXPECT_NEAR(m.frequency.value_or(NAN) * 2 * pi * r.Dt / theta, 1, 1e-5);
        EXPECT_NEAR(m.factorPerPeriod.value_or(NAN) / std::pow(1 - d, pi / theta), 1, 1.5e-4);
    }
}

// However a run hands its samples over, a block at a time, the measurements
// are the same bits: a crossing or a crest on a block's edge is no different.
TEST(CycleAnalysis, SameMeasurementsWhateverTheBlocks)
{
    for (const double ratio : {1.0, 2.0, 3.0}) {
        test::SampleRecorder run;
        const double dt = simulate({159.15e-6, 3, 100, ratio}, run).Dt;
        const auto measured = [&](std::size_t block) {
            CycleAnalysis analysis;
            analysis.begin(static_cast<std::int64_t>(run.vo.size()));
            for (std::size_t first = 0; first < run.vo.size(); first += block) {
                const std::size_t count = std::min(block, run.vo.size() - first);
                analysis.observe(static_cast<std::int64_t>(first) + 1, {run.vp.data() + first, count},
                                 {run.vo.data() + first, count});
            }
            return analysis.measurements(dt);
        };
        for (const std::size_t block : {1, 2, 3, 7, 64, 1000})
            EXPECT_TRUE(measured(block) == measured(run.vo.size()))
                << "R1/R2 " << ratio << ", blocks of " << block;
    }
}
