#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "runtime/runtime_error.h"
#include "simulation/run_inputs.h"

namespace wienbridge {

// A failure as the user reads it, in the message box and on the command line alike.
struct FailureMessage {
    std::string name;  // the error, e.g. "Divisione per zero"
    std::string hint;  // the box to change and how; empty where no box is to blame
    // The name, then the hint on a line of its own when there is one.
    std::string text() const;
};

// The Italian name of a kind of failure.
std::string_view errorName(ErrorKind kind);

// What to tell the user about a failure of a run with these inputs (as far as
// the run had read them): each hint points the way that mends the failure.
FailureMessage describeFailure(const RuntimeError& error, const RunInputs& inputs);

// A computation that threw something other than a RuntimeError: memory that
// ran out, or a fault of the program's own.
FailureMessage describeUnexpectedFailure(const std::exception_ptr& error);

// Files and streams that could not be written, named by their path (UTF-8).
FailureMessage plotNotSaved(std::string_view path);
FailureMessage samplesNotExported(std::string_view path);
FailureMessage exportCancelled(std::string_view path);
// "impossibile scrivere …": what the command line says before it exits with 2.
std::string cannotWrite(std::string_view what);
// What cannotWrite names for the command line's standard output.
std::string_view standardOutputName(bool samples);

}  // namespace wienbridge
