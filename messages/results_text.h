#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulation/finished_run.h"

namespace wienbridge {

// One line of "Risultati": what it is, then a value per column ("" where the
// column has nothing to say of it).
struct ResultsRow {
    std::string label;
    std::vector<std::string> values;
};

// What "Risultati" says of a run, with the given decimal separator: the inputs
// as read, what the samples measured beside what the circuit does, the gains
// and the step, what the model leaves out, and the warnings. Numbers have four
// significant digits, in engineering units.
struct ResultsText {
    std::vector<ResultsRow> inputs;  // one value each: the box's number as read, in its unit
    std::vector<std::string> headings;
    std::vector<ResultsRow> rows;  // a value under each heading
    std::string modelNote;
    std::vector<std::string> warnings;  // one line each
};

// For no run, after one that failed or was cancelled, every value is "—" and
// there is no warning.
ResultsText resultsText(const FinishedRun* run, std::string_view decimalSeparator);

// The warnings alone, as the command line prints them.
std::vector<std::string> runWarnings(const FinishedRun& run, std::string_view decimalSeparator);

}  // namespace wienbridge
