#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulation/sweep.h"

namespace wienbridge {

// The swept input as the command line's --sweep names it: "cr", "n", "fc", "ratio".
std::string_view sweptOptionName(SweptInput input);

// The swept box as the window names it: "CR [usec]", "N", "fc [MHz]", "R1/R2".
std::string_view sweptBoxName(SweptInput input);

// What is wrong with a range, in a few Italian words.
std::string_view rangeProblemText(RangeProblem problem);

// The sweep's CSV, for the command line and the window's export alike: the
// header, its first column named `name`, then one line per point, each value
// written as the single run prints it ("." as the decimal point, the shortest
// form that reads back as the same double), empty where the run has none, the
// failure's first line under Error. Lines end in "\n".
std::string sweepCsvHeader(std::string_view name);
std::string sweepCsvLine(const SweepPoint& point);

// The window's table: a heading and a cell per column, numbers in four
// significant digits with the given decimal separator.
std::vector<std::string> sweepTableHeadings(SweptInput input);
std::vector<std::string> sweepTableCells(const SweepPoint& point, std::string_view decimalSeparator);

}  // namespace wienbridge
