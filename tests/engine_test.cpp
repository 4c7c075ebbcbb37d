#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>

#include "float_check.h"
#include "number_format.h"
#include "oscillator_model.h"
#include "rounding.h"
#include "support/reference_model.h"

using namespace wienbridge;
using wienbridge::test::failureOf;
using wienbridge::test::SampleRecorder;

namespace {

// The inputs of the default boxes, CR 159.15 us and Fc 3 MHz.
RunInputs defaults(double ratio, std::int32_t n = 100)
{
    return {159.15 * 0.000001, 3, n, ratio};
}

}  // namespace

TEST(Numerics, RoundingFormattingAndTheFloatingPointTest)
{
    for (auto [value, rounded] : {std::pair{100.5, 100}, {101.5, 102}, {-2.5, -2}, {-3.5, -4}, {2.4999999999999996, 2},
                                  {-2147483648.5, INT32_MIN}})
        EXPECT_EQ(roundToInt32(value), rounded) << value;
    for (double outside : {2147483647.5, -2147483649.0, double(NAN), double(INFINITY)})
        EXPECT_EQ(failureOf([&] { roundToInt32(outside); }), ErrorKind::Overflow) << outside;

    EXPECT_EQ(formatFixed(318.3, 3, ","), "318,300");
    EXPECT_EQ(formatFixed(-0.75, 2, "."), "-0.75");
    EXPECT_EQ(formatFixed(-0.001, 2, ","), "0,00");  // no sign on a zero
    EXPECT_EQ(formatFixed(1e21, 2, "."), "1000000000000000000000.00");

    const auto kindOf = [](double a, double b) {
        return failureOf([&] { checkedStatement([](double a, double b) { return a / (a * (1 / (b + 1)) + 1); }, a, b); });
    };
    EXPECT_EQ(kindOf(5, -1), ErrorKind::DivisionByZero);  // comes out 0, finite, after dividing by zero
    EXPECT_EQ(kindOf(DBL_MAX, -0.5), ErrorKind::Overflow);
    EXPECT_EQ(kindOf(INFINITY, -0.5), ErrorKind::InvalidOperation);
    EXPECT_EQ(kindOf(1e-300, 1e300), std::nullopt);  // underflow passes
}

TEST(OscillatorModel, DefaultRunsAsTheCircuitBehaves)
{
    for (auto [ratio, gain] : {std::pair{2.0, 3}, {3.0, 4}, {1.0, 2}, {0.5, 1}}) {
        SampleRecorder samples;
        const RunResult r = simulate(defaults(ratio), samples);
        EXPECT_EQ(r.K, gain) << ratio;
        EXPECT_EQ(r.Dt, 159.15e-6 / (100 * 0.1));
        EXPECT_TRUE(r.Aol > 2999 && r.Aol < 3000);
        ASSERT_EQ(samples.vo.size(), 1000u);
        EXPECT_TRUE(samples.inOrder);
        const double late = std::fabs(samples.vo[995]) + std::fabs(samples.vo[990]);
        if (gain == 3) {  // sustained: Vp 1, 0.99, 0.9701, ...; the swing stays about 3
            EXPECT_EQ(samples.vo[0], 3.0);
            EXPECT_DOUBLE_EQ(samples.vp[1], 0.99);
            EXPECT_DOUBLE_EQ(samples.vp[2], 0.9701);
            EXPECT_NEAR(r.Peak, 3.0, 0.01);
            EXPECT_GT(late, 1);
        }
        if (gain == 4) {
            EXPECT_TRUE(r.Peak > 1e21 && r.Peak < 1e22);
        }
        if (gain == 2) {
            EXPECT_LT(late, 1e-10);
        }
    }

    SampleRecorder tenSteps;  // one step per time constant: Vp repeats six values
    simulate(defaults(2, 10), tenSteps);
    const double cycle[] = {1, 0, -1, -1, 0, 1};
    for (int i = 0; i < 100; ++i)
        EXPECT_NEAR(tenSteps.vp[i], cycle[i % 6], 1e-9) << i;

    RunInputs noCrossover = defaults(2);
    noCrossover.Fc = 0;
    SampleRecorder silence;
    const RunResult r = simulate(noCrossover, silence);
    EXPECT_EQ(r.K, 0);
    EXPECT_EQ(r.Peak, 0.0);
}

TEST(OscillatorModel, ProgressCanStopARunBetweenBlocks)
{
    struct StopAtHalf final : RunProgress {
        bool carryOn(std::int64_t done, std::int64_t all) override
        {
            calls += done <= all;
            return done < all / 2;
        }
        int calls = 0;
    } progress;
    SampleRecorder samples;
    EXPECT_THROW(simulate(defaults(2, 100000), samples, &progress), RunCancelled);
    EXPECT_GT(progress.calls, 10);
    EXPECT_TRUE(samples.vo.size() >= 500000 && samples.vo.size() < 510000);
}
