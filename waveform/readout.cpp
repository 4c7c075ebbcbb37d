#include "waveform/readout.h"

#include <cmath>

#include "runtime/float_check.h"
#include "widget_helpers/locale_format.h"

namespace wienbridge {

QString readoutText(const ReadoutScale& scale, float x, float y)
{
    // The fraction of the width times the span of the run, 100 CR, in microseconds.
    const double t = checkedStatement(
        Quantity::ReadoutTime, [](double x, double cr) { return ((x / 100) * 100 * cr) * 1000000; },
        static_cast<double>(x), scale.CR);
    // A drawn curve's peak may lie within a factor 50 of the largest double, so
    // (y - 50) * Peak can leave the double range while the voltage does not; only
    // the voltage must fit. Scaling by a power of two changes no rounding.
    const double v = checkedStatement(
        Quantity::ReadoutVoltage,
        [](double y, double peak) {
            if (std::fabs(peak) > 0x1p1017)
                return (((y - 50) * (peak * 0x1p-6)) / 48) * 0x1p6;
            return ((y - 50) * peak) / 48;
        },
        static_cast<double>(y), scale.Peak);

    return QStringLiteral("t = ") + formatForUser(t, 3) + QStringLiteral(" usec\" ; vo(t) = ")
           + formatForUser(v, 2) + QStringLiteral("V");
}

}  // namespace wienbridge
