// Random parameter sets, from tiny to huge and through every kind of failure:
// the streaming model must hand over exactly the samples, and end with exactly
// the result or the error, of the algorithm as written. The seed is fixed so
// that a failure is reproducible; WIENBRIDGE_PROPERTY_SEED explores others.
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

#include "oscillator_model.h"
#include "support/reference_model.h"

using namespace wienbridge;
using namespace wienbridge::test;

namespace {

class ParameterSource {
public:
    explicit ParameterSource(std::uint64_t seed) : engine_(seed) {}

    RunInputs next()
    {
        const double us = pick({exp10(-2, 5), exp10(-2, 5), exp10(-318, -100), exp10(100, 308), 0.0, -exp10(-2, 5),
                                159.15, 145.84});
        // Mostly short runs, for the quadratic reference; now and then one of more than a block.
        const double few = 1.0 + below(16);
        const auto n = static_cast<std::int32_t>(
            pick({few, few, few, few, few, few, few, few, few, few, 17.0 + below(24), 17.0 + below(24), 0.0,
                  -1.0 - below(40), 103.0 + below(100)}));
        const double fc = pick({0.0, 3.0, exp10(-3, 3), exp10(-3, 3), exp10(-320, -100), exp10(100, 308), -exp10(-3, 3)});
        const double ratio = pick({-1.0, 0.5, 1.0, 2.0, 2.5, 3.0, 1000.0, 1e300, unit() * 15 - 5, unit() * 15 - 5,
                                   exp10(-6, 12), -exp10(-6, 12)});
        return {us * 0.000001, fc, n, ratio};
    }

private:
    // The bits are taken from the engine directly, not through the standard
    // distributions, so that a seed gives the same sets with every library.
    double unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    std::uint64_t below(std::uint64_t bound) { return engine_() % bound; }
    double exp10(double low, double high) { return std::pow(10.0, low + (high - low) * unit()); }
    double pick(std::initializer_list<double> values) { return values.begin()[below(values.size())]; }

    std::mt19937_64 engine_;
};

}  // namespace

TEST(ModelProperties, StreamingModelEqualsTheAlgorithmAsWrittenBitForBit)
{
    const char* chosen = std::getenv("WIENBRIDGE_PROPERTY_SEED");
    const std::uint64_t seed = chosen ? std::strtoull(chosen, nullptr, 0) : 0x5769656e42726964;
    ParameterSource source(seed);
    int completed = 0;
    for (int set = 0; set < 3000; ++set) {
        RunInputs in = source.next();
        if (set == 0)  // K = 21 overflows a double in the second block of the run
            in = {159.15e-6, 1e6, 200, 20};
        SCOPED_TRACE(::testing::Message() << "seed " << seed << ", set " << set << ": CR " << in.CR << ", N " << in.N
                                          << ", Fc " << in.Fc << ", ratio " << in.Ratio);
        bool completes = false;
        ASSERT_EQ(differenceFromReference(in, &completes), "");
        completed += completes;
    }
    EXPECT_GT(completed, 600);  // both outcomes in numbers, or the comparison proves little
    EXPECT_LT(completed, 2400);
}
