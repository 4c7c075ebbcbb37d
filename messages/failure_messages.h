#pragma once

#include <string>
#include <string_view>

#include "run_inputs.h"
#include "runtime_error.h"

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

}  // namespace wienbridge
