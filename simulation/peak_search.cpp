#include "peak_search.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "checked_int.h"

namespace wienbridge {

void findPeak(ModuleState& state)
{
    const std::vector<double>& vo = state.Vo;
    if (vo.size() < 2)
        raise(ErrorKind::SubscriptOutOfRange);
    const std::int64_t last = checkedMul(10, state.N);
    const std::int64_t reachable = std::min<std::int64_t>(last, static_cast<std::int64_t>(vo.size()) - 1);

    // Starting from Vo[1] rather than 0 keeps a negative first sample from
    // winning: the first comparison replaces it with its magnitude.
    double peak = vo[1];
    for (std::int64_t i = 1; i <= reachable; ++i) {
        const double magnitude = std::fabs(vo[static_cast<std::size_t>(i)]);
        if (magnitude >= peak)
            peak = magnitude;
    }
    state.Peak = peak;
    if (last > reachable)
        raise(ErrorKind::SubscriptOutOfRange);
}

}  // namespace wienbridge
