#pragma once

#include <cstdint>
#include <limits>
#include <stop_token>

#include "simulation/run_inputs.h"
#include "simulation/sample_observer.h"

namespace wienbridge {

// Integrates the oscillator from Vp = 1 over 10 * N forward-Euler steps of the
// once-integrated node equation
//     v' = -((3 - K) / CR) * v - (1 / CR^2) * integral of v dt,
// handing every sample (i, Vp(i), Vo(i) = K * Vp(i)), i = 1 to 10 * N, to the
// observer, and returns Dt, Aol, K and the peak of |Vo|. Memory does not grow
// with N. A failing statement raises its RuntimeError, naming what it
// computed, after the observer has seen every sample before it. A stop
// requested through `stop` ends the run between two blocks of samples by
// throwing RunCancelled.
//
// A run asked to stop after sample `lastSample` computes and hands over only
// samples 1 to lastSample, the same doubles a whole run hands over, and returns
// the peak of those; Samples is still the whole run's 10 * N, which sets where
// its samples lie in time. A plot of part of the run costs no more than the
// run up to the end of that part.
RunResult simulate(const RunInputs& inputs, SampleObserver& observer, std::stop_token stop = {},
                   std::int64_t lastSample = std::numeric_limits<std::int64_t>::max());

}  // namespace wienbridge
