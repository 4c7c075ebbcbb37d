#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "module_state.h"
#include "oscillator_model.h"
#include "peak_search.h"
#include "run_sequence.h"
#include "runtime_error.h"
#include "support/failure.h"
#include "support/resumming_model.h"

using namespace wienbridge;
using reference::failureOf;
using reference::sameBits;

namespace {

// The parameters as a run reads them from the default boxes.
ModuleState defaults(double ratio, std::int32_t n = 100)
{
    ModuleState s;
    s.CR = 159.15 * 0.000001;
    s.Fc = 3;
    s.N = n;
    s.Ratio = ratio;
    return s;
}

}  // namespace

TEST(OscillatorModel, DefaultsGiveTheGainOfTheRatio)
{
    for (auto [ratio, gain] : {std::pair{2.0, 3}, {3.0, 4}, {1.0, 2}, {0.5, 1}}) {
        ModuleState s = defaults(ratio);
        runModel(s);
        EXPECT_EQ(s.K, gain) << "ratio " << ratio;
        EXPECT_EQ(s.Dt, s.CR / (100 * 0.1));
        EXPECT_GT(s.Aol, 2999.0);
        EXPECT_LT(s.Aol, 3000.0);
    }
}

TEST(OscillatorModel, SustainedOscillationStartsAsTheEulerStepsSay)
{
    ModuleState s = defaults(2);
    runModel(s);
    ASSERT_EQ(s.Vp.size(), 1002u);
    ASSERT_EQ(s.Vo.size(), 1002u);
    EXPECT_EQ(s.Vp[1], 1.0);
    EXPECT_DOUBLE_EQ(s.Vp[2], 0.99);
    EXPECT_DOUBLE_EQ(s.Vp[3], 0.9701);
    EXPECT_EQ(s.Vo[1], 3.0);
    EXPECT_DOUBLE_EQ(s.Vo[2], 2.97);
    EXPECT_EQ(s.Vo[0], 0.0);
    EXPECT_EQ(s.Vo[1001], 0.0);
    EXPECT_NE(s.Vp[1001], 0.0);

    findPeak(s);
    EXPECT_NEAR(s.Peak, 3.0, 0.01);
    // The amplitude holds over the whole run: the last tenth still swings to about 3.
    double lateMax = 0;
    for (int i = 900; i <= 1000; ++i)
        lateMax = std::max(lateMax, std::fabs(s.Vo[i]));
    EXPECT_NEAR(lateMax, 3.0, 0.05);
}

TEST(OscillatorModel, GrowingAndDampedRuns)
{
    ModuleState growing = defaults(3);
    runModel(growing);
    findPeak(growing);
    EXPECT_GT(growing.Peak, 1e21);
    EXPECT_LT(growing.Peak, 1e22);

    ModuleState damped = defaults(1);
    runModel(damped);
    double lateMax = 0;
    for (int i = 900; i <= 1000; ++i)
        lateMax = std::max(lateMax, std::fabs(damped.Vo[i]));
    EXPECT_LT(lateMax, 1e-10);
}

TEST(OscillatorModel, OneStepPerTimeConstantRepeatsSixValues)
{
    ModuleState s = defaults(2, 10);
    runModel(s);
    EXPECT_NEAR(s.Dt, s.CR, 1e-18);
    const double cycle[] = {1, 0, -1, -1, 0, 1};
    for (int i = 1; i <= 100; ++i)
        EXPECT_NEAR(s.Vp[i], cycle[(i - 1) % 6], 1e-9) << "sample " << i;
}

TEST(OscillatorModel, NoCrossoverFrequencyGivesSilence)
{
    ModuleState s = defaults(2);
    s.Fc = 0;
    runModel(s);
    EXPECT_EQ(s.Aol, 0.0);
    EXPECT_EQ(s.K, 0);
    for (int i = 1; i <= 1000; ++i)
        ASSERT_EQ(s.Vo[i], 0.0);
    findPeak(s);
    EXPECT_EQ(s.Peak, 0.0);
}

TEST(OscillatorModel, DtIsDividedByTenthsOfN)
{
    // CR / (N * 0.1) and 10 * CR / N differ in the last bit for most N.
    for (std::int32_t n : {3, 7, 100, 123, 999}) {
        ModuleState s = defaults(2, n);
        runModel(s);
        EXPECT_TRUE(sameBits(s.Dt, s.CR / (static_cast<double>(n) * 0.1))) << n;
    }
}

namespace {

void expectSameRunAsResumming(double microseconds, double ratio, std::int32_t n)
{
    ModuleState fast = defaults(ratio, n);
    fast.CR = microseconds * 0.000001;
    ModuleState resumming = fast;
    runModel(fast);
    reference::runModelResumming(resumming);
    ASSERT_EQ(fast.K, resumming.K);
    ASSERT_TRUE(sameBits(fast.Integral, resumming.Integral));
    for (std::size_t i = 0; i < fast.Vp.size(); ++i) {
        ASSERT_TRUE(sameBits(fast.Vp[i], resumming.Vp[i]))
            << "Vp[" << i << "] CR " << microseconds << " ratio " << ratio << " N " << n;
        ASSERT_TRUE(sameBits(fast.Vo[i], resumming.Vo[i])) << "Vo[" << i << "]";
    }
}

}  // namespace

TEST(OscillatorModel, LinearModelEqualsTheResummingOneBitForBit)
{
    // 145.84 us is one of the values where pow(CR, 2) is a bit off CR * CR.
    for (double microseconds : {159.15, 145.84, 1.0, 3333.3})
        for (double ratio : {0.5, 1.0, 2.0, 2.5, 3.0, 7.0})
            for (std::int32_t n : {1, 10, 37, 100})
                expectSameRunAsResumming(microseconds, ratio, n);
    // Runs longer than one block of the fast loop.
    for (double ratio : {1.0, 2.0, 3.0})
        expectSameRunAsResumming(145.84, ratio, 420);
}

TEST(OscillatorModel, FailuresStopAtTheStepThatRaisesThem)
{
    ModuleState noSamples = defaults(2, 0);
    EXPECT_EQ(failureOf([&] { runModel(noSamples); }), ErrorKind::DivisionByZero);
    EXPECT_TRUE(noSamples.Vo.empty());

    ModuleState negative = defaults(2, -1);
    EXPECT_EQ(failureOf([&] { runModel(negative); }), ErrorKind::SubscriptOutOfRange);

    ModuleState tooMany = defaults(2, 214748365);
    EXPECT_EQ(failureOf([&] { runModel(tooMany); }), ErrorKind::Overflow);

    ModuleState noTimeConstant = defaults(2);
    noTimeConstant.CR = 0;
    EXPECT_EQ(failureOf([&] { runModel(noTimeConstant); }), ErrorKind::DivisionByZero);
    EXPECT_EQ(noTimeConstant.K, 0);
    EXPECT_EQ(noTimeConstant.Vp[2], 0.0);

    ModuleState ratioMinusOne = defaults(-1);
    EXPECT_EQ(failureOf([&] { runModel(ratioMinusOne); }), ErrorKind::DivisionByZero);
    EXPECT_EQ(ratioMinusOne.Vp[2], 0.0);
}

TEST(OscillatorModel, GrowthBeyondADoubleStopsAtTheFirstOverflow)
{
    ModuleState s = defaults(3);
    s.Ratio = 1000;  // K = 749: the samples grow by a factor of ~75 a step
    EXPECT_EQ(failureOf([&] { runModel(s); }), ErrorKind::Overflow);
    // Everything before the failing step is finite, everything after it untouched.
    std::size_t firstZero = 2;
    while (firstZero < s.Vp.size() && s.Vp[firstZero] != 0.0)
        ++firstZero;
    ASSERT_LT(firstZero, s.Vp.size());
    for (std::size_t i = 1; i < firstZero; ++i)
        ASSERT_TRUE(std::isfinite(s.Vp[i])) << i;
    for (std::size_t i = firstZero; i < s.Vp.size(); ++i)
        ASSERT_EQ(s.Vp[i], 0.0) << i;
    EXPECT_TRUE(std::isfinite(s.Integral));
}

TEST(OscillatorModel, MemoryThatCannotBeHadIsAnErrorNotACrash)
{
    // 34 GB of samples: more than any machine this runs on can spare.
    ModuleState s = defaults(2, 214748364);
    EXPECT_EQ(failureOf([&] { runModel(s); }), ErrorKind::OutOfMemory);
    EXPECT_TRUE(s.Vp.empty());
}

TEST(OscillatorModel, ANewRunReplacesThePreviousOne)
{
    ModuleState s = defaults(3, 200);
    runModel(s);
    s.N = 10;
    s.Ratio = 2;
    runModel(s);
    EXPECT_EQ(s.Vo.size(), 102u);
    EXPECT_EQ(s.K, 3);
}

TEST(OscillatorModel, ARunOfTheSameSizeLooksLikeAFreshOne)
{
    // The second run reuses the first one's arrays; nothing of the first may show.
    ModuleState reused = defaults(3, 500);
    runModel(reused);
    reused.Ratio = 0.5;
    runModel(reused);
    ModuleState fresh = defaults(0.5, 500);
    runModel(fresh);
    ASSERT_EQ(reused.Vp.size(), fresh.Vp.size());
    for (std::size_t i = 0; i < fresh.Vp.size(); ++i) {
        ASSERT_TRUE(sameBits(reused.Vp[i], fresh.Vp[i])) << i;
        ASSERT_TRUE(sameBits(reused.Vo[i], fresh.Vo[i])) << i;
    }

    // A failing run after it leaves zeros wherever it did not get to.
    reused.Ratio = -1;
    EXPECT_EQ(failureOf([&] { runModel(reused); }), ErrorKind::DivisionByZero);
    EXPECT_EQ(reused.Vp[1], 1.0);
    for (std::size_t i = 2; i < reused.Vp.size(); ++i)
        ASSERT_EQ(reused.Vp[i], 0.0) << i;
    reused.Ratio = 1000;
    EXPECT_EQ(failureOf([&] { runModel(reused); }), ErrorKind::Overflow);
    EXPECT_EQ(reused.Vo.back(), 0.0);
    EXPECT_EQ(reused.Vp.back(), 0.0);
}

TEST(PeakSearch, LargestMagnitudeWhicheverItsSign)
{
    ModuleState s;
    s.N = 1;
    s.Vo.assign(12, 0.0);
    s.Vo[1] = -2;
    s.Vo[4] = 4;
    s.Vo[7] = -5;
    s.Vo[11] = 100;  // beyond the last sample: not part of the curve
    findPeak(s);
    EXPECT_EQ(s.Peak, 5.0);
}

TEST(PeakSearch, NaNNeverBecomesThePeak)
{
    ModuleState s;
    s.N = 1;
    s.Vo.assign(12, 1.0);
    s.Vo[5] = NAN;
    findPeak(s);
    EXPECT_EQ(s.Peak, 1.0);
}

TEST(PeakSearch, WithoutSamplesIsASubscriptError)
{
    ModuleState s;
    s.N = 100;
    EXPECT_EQ(failureOf([&] { findPeak(s); }), ErrorKind::SubscriptOutOfRange);
    s.Vo.assign(1002, 1.0);
    s.N = 200;  // a later run failed before it could allocate its samples
    EXPECT_EQ(failureOf([&] { findPeak(s); }), ErrorKind::SubscriptOutOfRange);
}

TEST(RunSequence, ReadsTheBoxesAsTyped)
{
    NoWaveform none;
    ModuleState s;
    readRatio(s, "2");
    runSequence(s, {"159.15", "100.5", "3"}, none);
    EXPECT_EQ(s.N, 100);
    EXPECT_EQ(s.CR, 159.15 * 0.000001);
    EXPECT_EQ(s.Fc, 3.0);
    EXPECT_TRUE(s.lastRunCompleted);
    runSequence(s, {"159.15", "101.5", "3"}, none);
    EXPECT_EQ(s.N, 102);

    EXPECT_EQ(failureOf([&] { runSequence(s, {"159.15", "", "3"}, none); }),
              ErrorKind::DivisionByZero);
    EXPECT_FALSE(s.lastRunCompleted);
    EXPECT_EQ(s.N, 0);
}

TEST(RunSequence, ShowsTheAxesBeforeReadingTheParameters)
{
    struct Recorder : WaveformSink {
        std::string calls;
        void showWindow() override { calls += "show,"; }
        void prepareAxes() override { calls += "axes,"; }
        void drawCurve(const ModuleState&) override { calls += "curve,"; }
    } recorder;
    ModuleState s;
    readRatio(s, "2");
    EXPECT_THROW(runSequence(s, {"159.15", "0", "3"}, recorder), RuntimeError);
    EXPECT_EQ(recorder.calls, "show,axes,");
    runSequence(s, {"159.15", "100", "3"}, recorder);
    EXPECT_EQ(recorder.calls, "show,axes,show,axes,curve,");
}
