#pragma once

#include <optional>
#include <string>

#include "simulation/sweep.h"

namespace wienbridge {

// --sweep NAME:FROM:TO:COUNT[:lin|:log] and --threads K, as read.
struct SweepCommand {
    std::string name;  // as written: cr, n, fc or ratio
    SweepRange range;
    unsigned threads = 0;
};

// Reads the two options; `alone` is false when options that make no sense
// with a sweep were given too (--samples, --png). Returns the problem, if any.
std::optional<std::string> readSweepCommand(const std::optional<std::string>& sweep,
                                            const std::optional<std::string>& threads, bool alone,
                                            SweepCommand& command);

// Prints the sweep's CSV, each line as soon as it and every earlier one are
// computed, the other inputs from `others`; returns the exit status: 0 when
// the sweep ran, 1 when every point failed, 2 when standard output could not
// be written.
int runSweepCommand(const BoxTexts& others, const SweepCommand& command);

}  // namespace wienbridge
