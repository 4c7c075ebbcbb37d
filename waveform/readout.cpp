#include "readout.h"

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
    const double v = checkedStatement([](double y, double peak) { return ((y - 50) * peak) / 48; },
                                      static_cast<double>(y), state.Peak);

    return QStringLiteral("t = ") + formatForUser(t, 3) + QStringLiteral(" usec\" ; vo(t) = ")
           + formatForUser(v, 2) + QStringLiteral("V");
}

}  // namespace wienbridge
