#include "resumming_model.h"

#include "checked_int.h"
#include "float_check.h"
#include "oscillator_model.h"
#include "runtime_error.h"

namespace wienbridge::reference {

void runModelResumming(ModuleState& s)
{
    s.Dt = checkedStatement([](double cr, double n) { return cr / (n * 0.1); }, s.CR,
                            static_cast<double>(s.N));
    const std::int32_t upper = checkedAdd(checkedMul(10, s.N), 1);
    if (upper < 0)
        raise(ErrorKind::SubscriptOutOfRange);
    s.Vo.assign(static_cast<std::size_t>(upper) + 1, 0.0);
    s.Vp.assign(static_cast<std::size_t>(upper) + 1, 0.0);
    s.Vp[1] = 1.0;
    s.Aol = checkedStatement(
        [](double cr, double fc) { return ((cr * 6.28318530717958) * fc) * 1000000; }, s.CR, s.Fc);
    s.K = stageGain(s.Aol, s.Ratio);

    const std::int32_t steps = checkedMul(10, s.N);
    for (std::int32_t i = 1; i <= steps; ++i) {
        s.Integral = 0;
        for (std::int32_t j = 1; j <= i; ++j)
            s.Integral = checkedStatement([](double dt, double v, double sum) { return dt * v + sum; },
                                          s.Dt, s.Vp[j], s.Integral);
        const double damping = checkedSub(3, s.K);
        const double next = checkedStatement(
            [](double v, double d, double cr, double dt) { return v - (d / cr) * v * dt; }, s.Vp[i],
            damping, s.CR, s.Dt);
        s.Vp[i + 1] = checkedStatement(
            [](double n, double dt, double cr, double sum) { return n - (dt / (cr * cr)) * sum; }, next,
            s.Dt, s.CR, s.Integral);
        s.Vo[i] = checkedStatement([](double k, double v) { return k * v; }, static_cast<double>(s.K),
                                   s.Vp[i]);
    }
}

}  // namespace wienbridge::reference
