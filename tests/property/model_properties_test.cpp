// Random parameter sets, from tiny to huge and through every kind of failure,
// checked against what a run must give whatever its parameters.
//
// The seed is fixed so that a failure is reproducible; WIENBRIDGE_PROPERTY_SEED
// picks another one to explore with.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "module_state.h"
#include "oscillator_model.h"
#include "peak_search.h"
#include "runtime_error.h"
#include "support/failure.h"
#include "support/resumming_model.h"

using namespace wienbridge;
using reference::failureOf;
using reference::sameBits;

namespace {

std::uint64_t seed()
{
    if (const char* text = std::getenv("WIENBRIDGE_PROPERTY_SEED"))
        return std::strtoull(text, nullptr, 0);
    return 0x5769656e42726964;
}

struct Parameters {
    double microseconds = 0;
    std::int32_t n = 0;
    double megahertz = 0;
    double ratio = 0;
};

std::string describe(std::uint64_t seed, int index, const Parameters& p)
{
    std::ostringstream out;
    out.precision(17);
    out << "seed " << seed << ", set " << index << ": CR " << p.microseconds << " us, N " << p.n
        << ", Fc " << p.megahertz << " MHz, ratio " << p.ratio;
    return out.str();
}

// Draws the parameter sets. The bits are taken from the engine directly, not
// through the standard distributions, so that a seed gives the same sets with
// every standard library.
class ParameterSource {
public:
    explicit ParameterSource(std::uint64_t seed) : engine_(seed) {}

    Parameters next(std::int32_t previousN)
    {
        Parameters p;
        p.microseconds = timeConstant();
        p.n = sampleCount(previousN);
        p.megahertz = crossover();
        p.ratio = ratio();
        return p;
    }

private:
    double unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    double uniform(double low, double high) { return low + (high - low) * unit(); }
    double powerOfTen(double lowExponent, double highExponent)
    {
        return std::pow(10.0, uniform(lowExponent, highExponent));
    }
    std::uint64_t below(std::uint64_t bound) { return engine_() % bound; }
    template <std::size_t M>
    double oneOf(const double (&values)[M])
    {
        return values[below(M)];
    }

    // Tiny values make CR squared underflow to 0 and the step divide by zero;
    // huge ones overflow it.
    double timeConstant()
    {
        const std::uint64_t kind = below(20);
        if (kind < 11)
            return powerOfTen(-2, 5);
        if (kind < 13)
            return oneOf({159.15, 145.84, 1.0, 1000.0, 1e-6});
        if (kind < 15)
            return powerOfTen(-318, -100);
        if (kind < 17)
            return powerOfTen(100, 308);
        if (kind < 18)
            return 0.0;
        return -powerOfTen(-2, 5);
    }

    // Small enough for the quadratic reference, mostly very small; the same N
    // as the last run now and then, since a run may reuse arrays of that size.
    std::int32_t sampleCount(std::int32_t previousN)
    {
        const std::uint64_t kind = below(20);
        if (kind < 2)
            return previousN;
        if (kind < 3)
            return 0;
        if (kind < 4)
            return -static_cast<std::int32_t>(1 + below(40));
        if (kind < 5)
            return static_cast<std::int32_t>(17 + below(24));
        return static_cast<std::int32_t>(1 + below(16));
    }

    double crossover()
    {
        const std::uint64_t kind = below(20);
        if (kind < 2)
            return 0.0;
        if (kind < 3)
            return 3.0;
        if (kind < 13)
            return powerOfTen(-3, 3);
        if (kind < 15)
            return powerOfTen(-320, -100);
        if (kind < 17)
            return powerOfTen(100, 308);
        return -powerOfTen(-3, 3);
    }

    double ratio()
    {
        const std::uint64_t kind = below(20);
        if (kind < 8)
            return oneOf({-1e9, -1000.0, -3.0, -2.0, -1.5, -1.0, -1.0, -0.5, 0.0, 0.25, 0.5, 1.0,
                          1.5, 2.0, 2.0, 2.5, 3.0, 3.5, 4.0, 7.0, 1000.0, 1e9, 1e300});
        if (kind < 14)
            return uniform(-5, 10);
        if (kind < 17)
            return powerOfTen(-6, 12);
        return -powerOfTen(-6, 12);
    }

    std::mt19937_64 engine_;
};

void setParameters(ModuleState& s, const Parameters& p)
{
    s.CR = p.microseconds * 0.000001;
    s.N = p.n;
    s.Fc = p.megahertz;
    s.Ratio = p.ratio;
}

bool sameSamples(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

// The first index at which two sample arrays differ, for the failure message.
std::size_t firstDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && sameBits(a[i], b[i]))
        ++i;
    return i;
}

void expectSameState(const ModuleState& fast, const ModuleState& reference, const std::string& where)
{
    EXPECT_TRUE(sameBits(fast.Dt, reference.Dt)) << where << ": Dt " << fast.Dt << " vs " << reference.Dt;
    EXPECT_TRUE(sameBits(fast.Aol, reference.Aol)) << where << ": Aol";
    EXPECT_EQ(fast.K, reference.K) << where;
    EXPECT_TRUE(sameBits(fast.Integral, reference.Integral))
        << where << ": Integral " << fast.Integral << " vs " << reference.Integral;
    EXPECT_TRUE(sameSamples(fast.Vp, reference.Vp))
        << where << ": Vp sizes " << fast.Vp.size() << ", " << reference.Vp.size()
        << ", first difference at " << firstDifference(fast.Vp, reference.Vp);
    EXPECT_TRUE(sameSamples(fast.Vo, reference.Vo))
        << where << ": Vo sizes " << fast.Vo.size() << ", " << reference.Vo.size()
        << ", first difference at " << firstDifference(fast.Vo, reference.Vo);
}

// The floating-point test of one statement, done here without the model's
// helpers: every operand and result goes through a volatile, which keeps the
// arithmetic between the clear and the test of the flags.
template <class Statement>
std::optional<ErrorKind> flaggedError(Statement&& statement)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    statement();
    const int flags = std::fetestexcept(FE_ALL_EXCEPT);
    if (flags & FE_DIVBYZERO)
        return ErrorKind::DivisionByZero;
    if (flags & FE_OVERFLOW)
        return ErrorKind::Overflow;
    if (flags & FE_INVALID)
        return ErrorKind::InvalidOperation;
    return std::nullopt;
}

// What the steps before the integration must give: the gain K, or the error
// that one of them raises.
struct GainOrFailure {
    std::int32_t gain = 0;
    std::optional<ErrorKind> failure;
};

GainOrFailure expectedGain(const ModuleState& in)
{
    volatile double cr = in.CR;
    volatile double fc = in.Fc;
    volatile double ratio = in.Ratio;
    volatile double n = in.N;

    volatile double dt = 0;
    if (auto failure = flaggedError([&] { dt = cr / (n * 0.1); }))
        return {0, failure};
    const std::int64_t upperBound = 10 * static_cast<std::int64_t>(in.N) + 1;
    if (upperBound > INT32_MAX)
        return {0, ErrorKind::Overflow};
    if (upperBound < 0)
        return {0, ErrorKind::SubscriptOutOfRange};

    volatile double aol = 0;
    if (auto failure = flaggedError([&] { aol = ((cr * 6.28318530717958) * fc) * 1000000; }))
        return {0, failure};
    volatile double gain = 0;
    if (auto failure = flaggedError([&] { gain = aol / (aol * (1 / (ratio + 1)) + 1); }))
        return {0, failure};

    // nearbyint rounds in the current mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(gain);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return {0, ErrorKind::Overflow};
    return {static_cast<std::int32_t>(rounded), std::nullopt};
}

constexpr int kSets = 3000;

}  // namespace

TEST(ModelProperties, LinearModelEqualsTheResummingOneOnRandomParameters)
{
    const std::uint64_t s = seed();
    ParameterSource source(s);
    // Each run starts from what the one before left, as runs do in the program.
    ModuleState carried;
    int completed = 0;
    int failed = 0;
    for (int index = 0; index < kSets; ++index) {
        const Parameters p = source.next(carried.N);
        const std::string where = describe(s, index, p);
        ModuleState fast = carried;
        setParameters(fast, p);
        ModuleState reference = fast;

        const auto fastFailure = failureOf([&] { runModel(fast); });
        const auto referenceFailure = failureOf([&] { reference::runModelResumming(reference); });
        ASSERT_EQ(fastFailure.has_value(), referenceFailure.has_value()) << where;
        if (fastFailure) {
            ASSERT_EQ(*fastFailure, *referenceFailure) << where;
        }
        expectSameState(fast, reference, where);
        if (HasFailure())
            return;
        (fastFailure ? failed : completed)++;
        carried = std::move(fast);
    }
    // The sets must reach both outcomes in numbers, or the comparison proves little.
    EXPECT_GT(completed, kSets / 4);
    EXPECT_GT(failed, kSets / 4);
}

TEST(ModelProperties, GainIsTheNearestIntegerOfTheFormulaTiesToEven)
{
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    const std::uint64_t s = seed();
    ParameterSource source(s);
    int gains = 0;
    for (int index = 0; index < kSets; ++index) {
        const Parameters p = source.next(0);
        const std::string where = describe(s, index, p);
        ModuleState run;
        setParameters(run, p);
        const GainOrFailure expected = expectedGain(run);
        const auto failure = failureOf([&] { runModel(run); });
        if (expected.failure) {
            ASSERT_TRUE(failure.has_value()) << where << ": the run completed";
            ASSERT_EQ(*failure, *expected.failure) << where;
        } else {
            ASSERT_EQ(run.K, expected.gain) << where;
            ++gains;
        }
    }
    EXPECT_GT(gains, kSets / 2);
}

TEST(ModelProperties, CompletedRunsHaveFiniteSamplesAndTheirLargestMagnitudeAsPeak)
{
    const std::uint64_t s = seed();
    ParameterSource source(s);
    for (int index = 0; index < kSets; ++index) {
        const Parameters p = source.next(0);
        const std::string where = describe(s, index, p);
        ModuleState run;
        setParameters(run, p);
        if (failureOf([&] { runModel(run); }))
            continue;
        const std::size_t last = 10 * static_cast<std::size_t>(run.N);
        ASSERT_EQ(run.Vo.size(), last + 2) << where;
        ASSERT_EQ(run.Vp[1], 1.0) << where;
        ASSERT_EQ(run.Vo[0], 0.0) << where;
        ASSERT_EQ(run.Vo[last + 1], 0.0) << where;
        double largest = 0;
        for (std::size_t i = 1; i <= last; ++i) {
            ASSERT_TRUE(std::isfinite(run.Vp[i + 1]) && std::isfinite(run.Vo[i]))
                << where << ": sample " << i;
            ASSERT_TRUE(sameBits(run.Vo[i], static_cast<double>(run.K) * run.Vp[i]))
                << where << ": sample " << i;
            largest = std::max(largest, std::fabs(run.Vo[i]));
        }
        ASSERT_TRUE(std::isfinite(run.Integral)) << where;

        findPeak(run);
        ASSERT_TRUE(sameBits(run.Peak, largest)) << where << ": peak " << run.Peak << " vs " << largest;
    }
}

TEST(ModelProperties, GrowthThatOverflowsAfterTheFirstBlockStopsWhereTheResummingOneDoes)
{
    // 4300 steps, more than one block of the fast loop. With an op-amp close to
    // ideal, K is 1 + ratio; K = 11 grows fast enough to overflow a double a
    // few dozen steps into the second block.
    ModuleState fast;
    fast.CR = 159.15 * 0.000001;
    fast.N = 430;
    fast.Fc = 1e6;
    fast.Ratio = 10;
    ModuleState reference = fast;

    const auto fastFailure = failureOf([&] { runModel(fast); });
    const auto referenceFailure = failureOf([&] { reference::runModelResumming(reference); });
    ASSERT_EQ(fastFailure, std::optional{ErrorKind::Overflow});
    ASSERT_EQ(referenceFailure, fastFailure);
    EXPECT_NE(fast.Vp[4098], 0.0) << "the run failed in the first block";
    expectSameState(fast, reference, "K = 11, N = 430");
}
