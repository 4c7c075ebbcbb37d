// Any four texts in the parameter boxes, one per line of the input: CR, N, Fc
// and the ratio. A run either completes with finite samples and their largest
// magnitude as its peak, or stops with a run-time error that names a box; for
// short runs it must also give exactly what the algorithm as written gives.

#include <array>
#include <cmath>
#include <string_view>

#include "fuzz_check.h"
#include "number_reading.h"
#include "oscillator_model.h"
#include "parameter_reading.h"
#include "support/reference_model.h"

using namespace wienbridge;
using namespace wienbridge::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::array<std::string_view, 4> lines{};
    std::string_view rest = input;
    for (std::string_view& line : lines) {
        const std::size_t end = rest.find('\n');
        line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    // Long runs only take more time without reaching new code.
    double samples = 0;
    failureOf([&] { samples = readNumber(lines[1]); });
    if (samples > 3000 && samples <= 214748364.5)
        return -1;

    RunInputs in;
    RunResult r;
    SampleRecorder recorder;
    std::optional<ErrorKind> failure;
    bool read = false;
    try {
        in = readRunInputs(readRatio(lines[3]), {lines[0], lines[1], lines[2]});
        read = true;
        r = simulate(in, recorder);
    } catch (const RuntimeError& error) {
        failure = error.kind();
        fuzz::require(!error.hint().empty(), input, "an error that names no box");
    } catch (...) {
        fuzz::fail(input, "an exception other than a run-time error");
    }
    fuzz::require(recorder.inOrder, input, "samples out of order");
    if (!failure) {
        double largest = 0;
        for (std::size_t i = 0; i < recorder.vo.size(); ++i) {
            fuzz::require(std::isfinite(recorder.vp[i]) && std::isfinite(recorder.vo[i]), input, "a sample that is not finite");
            largest = std::max(largest, std::fabs(recorder.vo[i]));
        }
        fuzz::require(recorder.vo.size() == 10 * static_cast<std::size_t>(in.N), input, "samples missing");
        fuzz::require(sameBits(r.Peak, largest), input, "the peak is not the largest magnitude");
    }
    if (read && in.N <= 12) {
        const ReferenceRun expected = runReference(in);
        fuzz::require(failure == expected.failure, input, "the run ends unlike the algorithm as written");
        fuzz::require(recorder.vo.size() == expected.vo.size() &&
                          std::equal(recorder.vo.begin(), recorder.vo.end(), expected.vo.begin(), sameBits),
                      input, "the samples differ from the algorithm as written");
    }
    return 0;
}
