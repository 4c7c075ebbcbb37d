#include "waveform/cursor_readout.h"

#include "runtime/number_format.h"
#include "waveform/readout.h"

namespace wienbridge {

std::array<QString, 7> cursorReadings(const PlotScale& scale, const CursorPlaces& places,
                                      std::string_view separator)
{
    const auto reading = [&](const char* name, double value, std::string_view unit) {
        return QString::fromUtf8(name) + QStringLiteral(" = ")
               + QString::fromStdString(formatEngineering(value, unit, separator));
    };
    const double t1 = scale.seconds(places.x[0]);
    const double t2 = scale.seconds(places.x[1]);
    const double v1 = voltageAt(scale.Peak, places.y[0]);
    const double v2 = voltageAt(scale.Peak, places.y[1]);
    const double dt = t2 - t1;
    return {reading("t1", t1, "s"),     reading("t2", t2, "s"),
            reading("Δt", dt, "s"),     dt == 0 ? QStringLiteral("1/Δt = —") : reading("1/Δt", 1 / dt, "Hz"),
            reading("v1", v1, "V"),     reading("v2", v2, "V"),
            reading("Δv", v2 - v1, "V")};
}

}  // namespace wienbridge
