#pragma once

#include <functional>
#include <stop_token>

#include "simulation/sweep.h"

namespace wienbridge {

// Every core of the machine, or one where it cannot tell.
unsigned everyCore();

// Computes each point of a sweep as a whole run, exactly the run the run
// button starts with the point's box texts (pointTexts), on `threads` workers
// at once, and hands the points to `deliver` on the calling thread, in order,
// each as soon as it and every earlier point are done. Workers run ahead of
// the delivery by at most a few points each, so memory does not grow with the
// number of points. A point that fails is delivered with its failure and the
// sweep goes on. A stop request, by the caller or from `deliver`, ends the
// sweep within a block of samples of every point under way; what `deliver`
// throws ends it too, and goes on. Returns whether every point was delivered.
bool runSweep(const BoxTexts& others, const SweepRange& range, unsigned threads, std::stop_token stop,
              const std::function<void(SweepPoint)>& deliver);

}  // namespace wienbridge
