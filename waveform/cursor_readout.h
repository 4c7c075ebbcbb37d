#pragma once

#include <array>
#include <string_view>

#include <QString>

#include "plot/plot_mapping.h"

namespace wienbridge {

// Where the two time cursors (x) and the two voltage cursors (y) stand, in
// plot coordinates.
struct CursorPlaces {
    std::array<double, 2> x{25, 75};
    std::array<double, 2> y{74, 26};
};

// What the cursors read, in engineering units with the given decimal
// separator, each as "name = value": t1, t2, their difference Δt = t2 - t1
// and 1/Δt, then v1, v2 and Δv = v2 - v1. 1/Δt reads "—" while the time
// cursors coincide.
std::array<QString, 7> cursorReadings(const PlotScale& scale, const CursorPlaces& places,
                                      std::string_view decimalSeparator);

}  // namespace wienbridge
