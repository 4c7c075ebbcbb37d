#pragma once

#include <optional>

#include <QString>

#include "module_state.h"

namespace wienbridge {

// The tooltip text for the pointer at (x, y) in plot coordinates: the time in
// microseconds and the output voltage there, read back through the curve's
// mappings, with the user locale's decimal separator, for example
//     t = 318,300 usec" ; vo(t) = 0,75V
// Uses CR and Peak as the last run left them. Nothing after a run that did not
// complete. A failing computation raises its RuntimeError.
std::optional<QString> readoutText(const ModuleState& state, float x, float y);

}  // namespace wienbridge
