// Any four texts in the parameter boxes, one per line of the input: CR, N, Fc
// and the ratio. A run either completes or stops with a run-time error that
// names a box; a short run must give exactly what the algorithm as written
// gives, and the reading and the model must never crash or misbehave.

#include <sstream>
#include <string>

#include "messages/failure_messages.h"
#include "simulation/oscillator_model.h"
#include "simulation/parameter_reading.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/reference_model.h"

using namespace wienbridge;
using namespace wienbridge::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    std::string lines[4];
    for (std::string& line : lines)
        std::getline(input, line);
    RunInputs in;
    bool read = false;
    try {
        in = readRunInputs(readRatio(lines[3]), {lines[0], lines[1], lines[2]});
        read = true;
        if (in.N > 3000 && in.N <= 214748364)
            return -1;  // long runs only take more time without reaching new code
        SampleRecorder samples;
        simulate(in, samples);
    } catch (const RuntimeError& error) {
        fuzz::require(describeFailure(error, in).hint.find("Casell") == 0, "an error that names no box");
    }  // any other exception escapes, and the fuzzer reports it
    if (read && in.N <= 12)
        fuzz::require(differenceFromReference(in).empty(), "a run unlike the algorithm as written");
    return 0;
}
