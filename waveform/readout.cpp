#include "waveform/readout.h"

#include <cmath>

#include "runtime/float_check.h"
#include "widget_helpers/locale_format.h"

namespace wienbridge {

double voltageAt(double peak, double y)
{
    // A drawn curve's peak may lie within a factor 50 of the largest double, so
    // (y - 50) * Peak can leave the double range while the voltage does not; only
    // the voltage must fit. Scaling by a power of two changes no rounding.
    return checkedStatement(
        Quantity::ReadoutVoltage,
        [](double y, double peak) {
            if (std::fabs(peak) > 0x1p1017)
                return (((y - 50) * (peak * 0x1p-6)) / 48) * 0x1p6;
            return ((y - 50) * peak) / 48;
        },
        y, peak);
}

QString readoutText(double t, double v)
{
    const double microseconds = checkedStatement(
        Quantity::ReadoutTime, [](double t) { return t * 1000000; }, t);
    return QStringLiteral("t = ") + formatForUser(microseconds, 3) + QStringLiteral(" usec\" ; vo(t) = ")
           + formatForUser(v, 2) + QStringLiteral("V");
}

QString readoutText(const PlotScale& scale, float x, float y)
{
    const double t = checkedStatement(
        Quantity::ReadoutTime, [&](double x) { return scale.seconds(x); }, static_cast<double>(x));
    return readoutText(t, voltageAt(scale.Peak, static_cast<double>(y)));
}

}  // namespace wienbridge
