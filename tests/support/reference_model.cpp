#include "support/reference_model.h"

#include <algorithm>
#include <cmath>

#include "checked_int.h"
#include "float_check.h"

namespace wienbridge::test {

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

}  // namespace wienbridge::test
