#pragma once

#include <cstdint>
#include <limits>
#include <memory>

#include <QString>

#include "run/run_sequence.h"

namespace wienbridge {

// The export's file could not be opened, written or put in place: the disk
// full, say.
struct SampleFileNotWritten {};

// An export as a computation: the model run again with `inputs` up to sample
// `last`, its samples `first` to `last` written as the command line's CSV
// (its header, then those rows with their indices) into the file at `path`,
// which appears only once whole. The file is opened, written and put in place
// on the thread that computes, and nowhere else; a stop request leaves no
// file. Throws SampleFileNotWritten when the file cannot be written.
Computation sampleExport(const RunInputs& inputs, const QString& path,
                         std::shared_ptr<SampleObserver> progress, std::int64_t first = 1,
                         std::int64_t last = std::numeric_limits<std::int64_t>::max());

}  // namespace wienbridge
