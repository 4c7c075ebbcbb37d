#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <random>

#include "simulation/oscillator_model.h"
#include "tests/support/reference_model.h"

using namespace wienbridge;
using namespace wienbridge::test;

// The runs of the circuit's own documentation: CR 159.15 us, Fc 3 MHz, N 100.
TEST(OscillatorModel, DefaultRunsBehaveAsDocumented)
{
    SampleRecorder none;
    for (auto [ratio, gain] : {std::pair{2.0, 3}, {3.0, 4}, {1.0, 2}, {0.5, 1}})
        EXPECT_EQ(simulate({159.15e-6, 3, 100, ratio}, none).K, gain) << ratio;
    SampleRecorder sustained;
    const RunResult r = simulate({159.15e-6, 3, 100, 2}, sustained);
    EXPECT_EQ(r.Dt, 159.15e-6 / (100 * 0.1));
    EXPECT_GT(r.Aol, 2999);
    EXPECT_LT(r.Aol, 3000);
    EXPECT_NEAR(sustained.vp[2], 0.9701, 1e-15);
    EXPECT_NEAR(r.Peak, 3, 0.01);
    EXPECT_GT(simulate({159.15e-6, 3, 100, 3}, none).Peak, 1e21);
    EXPECT_EQ(simulate({159.15e-6, 0, 100, 2}, none).Peak, 0.0);  // no crossover, no gain
}

// Random parameter sets, from tiny to huge and through every kind of failure:
// the streaming model must hand over exactly the samples, and end with exactly
// the result or the error, of the algorithm as written. The seed is fixed so
// that a failure is reproducible; WIENBRIDGE_PROPERTY_SEED explores others.
TEST(OscillatorModel, StreamsExactlyWhatTheAlgorithmAsWrittenComputes)
{
    const char* chosen = std::getenv("WIENBRIDGE_PROPERTY_SEED");
    const std::uint64_t seed = chosen ? std::strtoull(chosen, nullptr, 0) : 0x5769656e42726964;
    // The bits are taken from the engine directly, not through the standard
    // distributions, so that a seed gives the same sets with every library.
    std::mt19937_64 engine(seed);
    const auto unit = [&] { return static_cast<double>(engine() >> 11) * 0x1.0p-53; };
    const auto below = [&](std::uint64_t bound) { return static_cast<double>(engine() % bound); };
    const auto exp10 = [&](double low, double high) { return std::pow(10.0, low + (high - low) * unit()); };
    const auto pick = [&](std::initializer_list<double> values) {
        return values.begin()[engine() % values.size()];
    };
    int completed = 0;
    for (int set = 0; set < 3000; ++set) {
        // Mostly short runs, for the quadratic reference; now and then one of more than a block.
        const double few = 1 + below(16);
        RunInputs in{
            pick({exp10(-2, 5), exp10(-2, 5), exp10(-318, -100), exp10(100, 308), 0.0, -exp10(-2, 5), 159.15})
                * 1e-6,
            pick({0.0, 3.0, exp10(-3, 3), exp10(-3, 3), exp10(-320, -100), exp10(100, 308), -exp10(-3, 3)}),
            static_cast<std::int32_t>(pick({few, few, few, few, few, few, few, few, 17 + below(24), 0.0,
                                            -1 - below(40), 103 + below(100)})),
            pick({-1.0, 0.5, 1.0, 2.0, 3.0, 1000.0, 1e300, unit() * 15 - 5, exp10(-6, 12), -exp10(-6, 12)})};
        if (set == 0)  // K = 21 overflows a double in the second block of the run
            in = {159.15e-6, 1e6, 200, 20};
        if (set == 1)  // K = -2147483645: 3 - K is one beyond 32 bits
            in = {159.15e-6, 1e30, 1, -2147483646};
        SCOPED_TRACE(::testing::Message() << "seed " << seed << ", set " << set << ": CR " << in.CR << ", N "
                                          << in.N << ", Fc " << in.Fc << ", ratio " << in.Ratio);
        bool completes = false;
        ASSERT_EQ(differenceFromReference(in, &completes), "");
        completed += completes;
    }
    EXPECT_TRUE(completed > 600
                && completed < 2400);  // both outcomes in numbers, or the comparison proves little
}
