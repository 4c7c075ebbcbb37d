#include "support/reference_model.h"

#include <algorithm>
#include <cmath>

#include "checked_int.h"
#include "float_check.h"
#include "oscillator_model.h"

namespace wienbridge::test {

namespace {

struct ReferenceRun {
    std::optional<ErrorKind> failure;
    RunResult result;
    std::vector<double> vp, vo;  // the samples whose step completed
};

ReferenceRun runReference(const RunInputs& in)
{
    ReferenceRun run;
    RunResult& r = run.result;
    run.failure = failureOf([&] {
        r.Dt = checkedStatement([](double cr, double n) { return cr / (n * 0.1); }, in.CR, double(in.N));
        const std::int32_t steps = checkedMul(10, in.N);
        if (checkedAdd(steps, 1) < 0)
            raise(ErrorKind::SubscriptOutOfRange);
        std::vector<double> vp(static_cast<std::size_t>(steps) + 2, 0.0);
        vp[1] = 1.0;
        r.Aol = checkedStatement([](double cr, double fc) { return ((cr * 6.28318530717958) * fc) * 1000000; },
                                 in.CR, in.Fc);
        // K worked out here on its own: the nearest integer, ties to even (the
        // rounding mode is to nearest), the range checked.
        const double gain = checkedStatement([](double a, double q) { return a / (a * (1 / (q + 1)) + 1); },
                                             r.Aol, in.Ratio);
        if (!(std::nearbyint(gain) >= INT32_MIN && std::nearbyint(gain) <= INT32_MAX))
            raise(ErrorKind::Overflow);
        r.K = static_cast<std::int32_t>(std::nearbyint(gain));
        for (std::int32_t i = 1; i <= steps; ++i) {
            // Each term checked on its own would be as slow as it is pointless:
            // the first to fail can only overflow, which the flags keep.
            volatile double integral = 0;
            clearFloatingPointFlags();
            for (std::int32_t j = 1; j <= i; ++j)
                integral = r.Dt * vp[j] + integral;
            raiseIfFlagged(raisedFloatingPointFlags());
            const double damping = checkedSub(3, r.K);
            const double s = checkedStatement(
                [](double v, double d, double cr, double dt) { return v - (d / cr) * v * dt; }, vp[i], damping,
                in.CR, r.Dt);
            vp[i + 1] = checkedStatement(
                [](double s, double dt, double cr, double sum) { return s - (dt / (cr * cr)) * sum; }, s,
                r.Dt, in.CR, integral);
            run.vo.push_back(checkedStatement([](double k, double v) { return k * v; }, double(r.K), vp[i]));
            run.vp.push_back(vp[i]);
            r.Peak = std::max(r.Peak, std::fabs(run.vo.back()));
        }
    });
    return run;
}

bool sameSamples(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameBits);
}

}  // namespace

std::string differenceFromReference(const RunInputs& in, bool* completed)
{
    const ReferenceRun expected = runReference(in);
    SampleRecorder samples;
    RunResult r;
    const std::optional<ErrorKind> failure = failureOf([&] { r = simulate(in, samples); });
    if (completed)
        *completed = !failure;
    const auto kind = [](std::optional<ErrorKind> k) { return k ? std::string(italianMessage(*k)) : "none"; };
    if (failure != expected.failure)
        return "error " + kind(failure) + " where the algorithm gives " + kind(expected.failure);
    if (!samples.inOrder || !sameSamples(samples.vp, expected.vp) || !sameSamples(samples.vo, expected.vo))
        return std::to_string(samples.vo.size()) + " samples unlike the algorithm's " + std::to_string(expected.vo.size());
    const RunResult& e = expected.result;
    if (!failure && !(sameBits(r.Dt, e.Dt) && sameBits(r.Aol, e.Aol) && r.K == e.K && sameBits(r.Peak, e.Peak)))
        return "Dt, Aol, K or the peak unlike the algorithm's";
    return {};
}

}  // namespace wienbridge::test
