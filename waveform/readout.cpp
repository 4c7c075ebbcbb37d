#include "readout.h"

#include <cmath>

#include "float_check.h"
#include "locale_format.h"

namespace wienbridge {

std::optional<QString> readoutText(const ModuleState& state, float x, float y)
{
    if (!state.lastRunCompleted)
        return std::nullopt;

    // The fraction of the width times the span of the run, 100 CR, in microseconds.
    const double t = checkedStatement(
        [](double x, double cr) { return ((x / 100) * 100 * cr) * 1000000; }, static_cast<double>(x),
        state.CR);
    // The peak cannot have changed since the curve was drawn: only a run sets it.
    // A drawn curve's peak may lie within a factor 50 of the largest double, so
    // (y - 50) * Peak can leave the double range while the voltage does not; only
    // the stored voltage must fit. Scaling by a power of two changes no rounding.
    const double v = checkedStatement(
        [](double y, double peak) {
            if (std::fabs(peak) > 0x1p1017)
                return (((y - 50) * (peak * 0x1p-6)) / 48) * 0x1p6;
            return ((y - 50) * peak) / 48;
        },
        static_cast<double>(y), state.Peak);

    return QStringLiteral("t = ") + formatForUser(t, 3) + QStringLiteral(" usec\" ; vo(t) = ")
           + formatForUser(v, 2) + QStringLiteral("V");
}

}  // namespace wienbridge
