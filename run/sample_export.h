#pragma once

#include <memory>

#include <QString>

#include "run/run_sequence.h"

namespace wienbridge {

// The export's file could not be opened, written or put in place: the disk
// full, say.
struct SampleFileNotWritten {};

// An export as a computation: the model run again with `inputs`, its samples
// written as the command line's CSV into the file at `path`, which appears only
// once whole. The file is opened, written and put in place on the thread that
// computes, and nowhere else; a stop request leaves no file. Throws
// SampleFileNotWritten when the file cannot be written.
Computation sampleExport(const RunInputs& inputs, const QString& path,
                         std::shared_ptr<SampleObserver> progress);

}  // namespace wienbridge
