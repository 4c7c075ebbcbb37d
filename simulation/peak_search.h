#pragma once

#include "module_state.h"

namespace wienbridge {

// Sets Peak to the largest |Vo[i]| for i = 1 to 10 * N, using the N of the last
// run. A NaN sample never becomes the peak. Raises a subscript error when the
// samples do not reach that far (no run yet, or a run that failed to allocate).
void findPeak(ModuleState& state);

}  // namespace wienbridge
