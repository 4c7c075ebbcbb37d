#include <cmath>
#include <gtest/gtest.h>

#include "number_format.h"
#include "oscillator_model.h"
#include "rounding.h"
#include "support/reference_model.h"

using namespace wienbridge;
using namespace wienbridge::test;

TEST(Numerics, NearestIntegerTiesToEvenAndZeroWithoutSign)
{
    for (auto [value, rounded] : {std::pair{100.5, 100}, {101.5, 102}, {-2.5, -2}, {2.4999999999999996, 2},
                                  {-2147483648.5, INT32_MIN}})
        EXPECT_EQ(roundToInt32(value), rounded) << value;
    for (double outside : {2147483647.5, double(NAN)})
        EXPECT_EQ(failureOf([&] { roundToInt32(outside); }), ErrorKind::Overflow) << outside;
    EXPECT_EQ(formatFixed(-0.001, 2, ","), "0,00");
}

TEST(OscillatorModel, DefaultRunsBehaveAsTheCircuit)
{
    // CR 159.15 us, Fc 3 MHz, N 100: K is 1 + R1/R2 rounded, Dt a tenth of CR.
    for (auto [ratio, gain] : {std::pair{2.0, 3}, {3.0, 4}, {1.0, 2}, {0.5, 1}}) {
        SampleRecorder samples;
        const RunResult r = simulate({159.15e-6, 3, 100, ratio}, samples);
        EXPECT_EQ(r.K, gain);
        EXPECT_EQ(r.Dt, 159.15e-6 / (100 * 0.1));
        EXPECT_TRUE(r.Aol > 2999 && r.Aol < 3000 && samples.inOrder && samples.vo.size() == 1000);
        const double late = std::fabs(samples.vo[995]) + std::fabs(samples.vo[990]);
        EXPECT_TRUE(gain != 3 || (samples.vo[0] == 3 && std::fabs(samples.vp[1] - 0.99) < 1e-15 && std::fabs(r.Peak - 3) < 0.01 && late > 1));
        EXPECT_TRUE(gain != 4 || (r.Peak > 1e21 && r.Peak < 1e22));  // growing
        EXPECT_TRUE(gain != 2 || late < 1e-10);                       // damped
    }
    SampleRecorder tenSteps;  // one step per time constant: Vp repeats six values
    simulate({159.15e-6, 3, 10, 2}, tenSteps);
    const double cycle[] = {1, 0, -1, -1, 0, 1};
    for (int i = 0; i < 100; ++i)
        EXPECT_NEAR(tenSteps.vp[i], cycle[i % 6], 1e-9) << i;
    EXPECT_EQ(simulate({159.15e-6, 0, 100, 2}, tenSteps).Peak, 0.0);  // no crossover, no gain
}

TEST(OscillatorModel, ProgressCanStopARunBetweenBlocks)
{
    struct StopAtHalf final : RunProgress {
        bool carryOn(std::int64_t done, std::int64_t all) override { return ++calls, done < all / 2; }
        int calls = 0;
    } progress;
    SampleRecorder samples;
    EXPECT_THROW(simulate({159.15e-6, 3, 100000, 2}, samples, &progress), RunCancelled);
    EXPECT_GT(progress.calls, 10);
    EXPECT_TRUE(samples.vo.size() >= 500000 && samples.vo.size() < 510000);
}
