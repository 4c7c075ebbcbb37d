#pragma once

#include <string_view>

#include "simulation/circuit_theory.h"

namespace wienbridge {

// The regime in Italian, as the results window and the command line name it:
// "smorzata", "sostenuta" or "crescente".
std::string_view regimeName(Regime regime);

}  // namespace wienbridge
