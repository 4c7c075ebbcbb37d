#include "tests/support/reference_model.h"

#include <algorithm>
#include <cmath>

#include "runtime/checked_int.h"
#include "runtime/float_check.h"
#include "simulation/oscillator_model.h"

namespace wienbridge::test {

std::string differenceFromReference(const RunInputs& in, bool* completed)
{
    RunResult e;
    SampleRecorder expected;  // the samples whose step completed
    const std::optional<Failure> expectedFailure = failureOf([&] {
        e.Dt = checkedStatement(
            Quantity::Step, [](double cr, double n) { return cr / (n * 0.1); }, in.CR, double(in.N));
        const std::int32_t steps = checkedMul(10, in.N, Quantity::SampleCount);
        if (checkedAdd(steps, 1, Quantity::SampleCount) < 0)
            raise(ErrorKind::SubscriptOutOfRange, Quantity::SampleCount);
        std::vector<double> vp(static_cast<std::size_t>(steps) + 2, 0.0);
        vp[1] = 1.0;
        e.Aol = checkedStatement(
            Quantity::OpenLoopGain,
            [](double cr, double fc) { return ((cr * 6.28318530717958) * fc) * 1000000; }, in.CR, in.Fc);
        // K worked out here on its own: the nearest integer, ties to even (the
        // rounding mode is to nearest), the range checked.
        const double gain = checkedStatement(
            Quantity::StageGain, [](double a, double q) { return a / (a * (1 / (q + 1)) + 1); }, e.Aol,
            in.Ratio);
        if (!(std::nearbyint(gain) >= INT32_MIN && std::nearbyint(gain) <= INT32_MAX))
            raise(ErrorKind::Overflow, Quantity::GainRounding);
        e.K = static_cast<std::int32_t>(std::nearbyint(gain));
        for (std::int32_t i = 1; i <= steps; ++i) {
            // Each term checked on its own would be as slow as it is pointless:
            // the first to fail can only overflow, which the flags keep.
            volatile double integral = 0;
            clearFloatingPointFlags();
            for (std::int32_t j = 1; j <= i; ++j)
                integral = e.Dt * vp[j] + integral;
            raiseIfFlagged(raisedFloatingPointFlags(), Quantity::Growth);
            // In the first step, the statements fail only through the constants
            // they divide by CR; after it, only through the samples' growth.
            const bool first = i == 1;
            const double damping = checkedSub(3, e.K, Quantity::GainMargin);
            const double s = checkedStatement(
                first ? Quantity::DampingOverCr : Quantity::Growth,
                [](double v, double d, double cr, double dt) { return v - (d / cr) * v * dt; }, vp[i],
                damping, in.CR, e.Dt);
            vp[i + 1] = checkedStatement(
                first ? Quantity::StepOverCrSquared : Quantity::Growth,
                [](double s, double dt, double cr, double sum) { return s - (dt / (cr * cr)) * sum; }, s,
                e.Dt, in.CR, integral);
            expected.vo.push_back(checkedStatement(
                Quantity::Growth, [](double k, double v) { return k * v; }, double(e.K), vp[i]));
            expected.vp.push_back(vp[i]);
            e.Peak = std::max(e.Peak, std::fabs(expected.vo.back()));
        }
    });

    SampleRecorder samples;
    RunResult r;
    const std::optional<Failure> failure = failureOf([&] { r = simulate(in, samples); });
    if (completed)
        *completed = !failure;
    const auto same = [](const std::vector<double>& a, const std::vector<double>& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameBits);
    };
    if (failure != expectedFailure)
        return "a failure, or none, unlike the algorithm's";
    if (!samples.inOrder || !same(samples.vp, expected.vp) || !same(samples.vo, expected.vo))
        return std::to_string(samples.vo.size()) + " samples unlike the algorithm's "
               + std::to_string(expected.vo.size());
    if (!failure && samples.announced != static_cast<std::int64_t>(expected.vo.size()))
        return "the run announced " + std::to_string(samples.announced) + " samples";
    if (!failure
        && !(sameBits(r.Dt, e.Dt) && sameBits(r.Aol, e.Aol) && r.K == e.K && sameBits(r.Peak, e.Peak)))
        return "Dt, Aol, K or the peak unlike the algorithm's";
    return {};
}

}  // namespace wienbridge::test
