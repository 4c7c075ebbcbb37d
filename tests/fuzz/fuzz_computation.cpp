// Any four texts in the parameter boxes, one per line of the input: CR, N, Fc
// and the ratio. A run either completes with finite samples and their largest
// magnitude as its peak, or stops with a run-time error; for short runs it must
// also give exactly what the model written plainly gives.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "fuzz_check.h"
#include "module_state.h"
#include "number_reading.h"
#include "rounding.h"
#include "run_sequence.h"
#include "runtime_error.h"
#include "support/failure.h"
#include "support/resumming_model.h"

using namespace wienbridge;
using reference::failureOf;
using reference::sameBits;

namespace {

// Longer runs only take more time without reaching new code.
constexpr double kMostSamples = 3000;
// The plain model re-sums the integral at every step; beyond this it would
// slow the fuzzer down more than it is worth.
constexpr std::int32_t kMostSamplesToCompare = 12;

struct Texts {
    std::string_view cr, n, fc, ratio;
};

Texts splitLines(std::string_view input)
{
    std::array<std::string_view, 4> lines{};
    for (std::string_view& line : lines) {
        const std::size_t end = input.find('\n');
        line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    return {lines[0], lines[1], lines[2], lines[3]};
}

bool sameSamples(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool isKnownKind(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Overflow:
    case ErrorKind::DivisionByZero:
    case ErrorKind::SubscriptOutOfRange:
    case ErrorKind::OutOfMemory:
    case ErrorKind::InvalidOperation:
        return true;
    }
    return false;
}

void checkCompletedRun(const ModuleState& s, std::string_view input)
{
    fuzz::require(s.lastRunCompleted, input, "a completed run not marked complete");
    fuzz::require(s.N >= 1, input, "a run completed without samples");
    const std::size_t last = 10 * static_cast<std::size_t>(s.N);
    fuzz::require(s.Vp.size() == last + 2 && s.Vo.size() == last + 2, input, "arrays of the wrong size");
    fuzz::require(std::isfinite(s.Dt) && std::isfinite(s.Aol) && std::isfinite(s.Integral), input,
                  "a value that is not finite");
    double largest = 0;
    for (std::size_t i = 1; i <= last; ++i) {
        fuzz::require(std::isfinite(s.Vp[i + 1]) && std::isfinite(s.Vo[i]), input,
                      "a sample that is not finite");
        largest = std::max(largest, std::fabs(s.Vo[i]));
    }
    fuzz::require(sameBits(s.Peak, largest), input, "the peak is not the largest magnitude");
}

// The parameters as the run must read them, or the error reading them raises.
std::optional<ErrorKind> readParameters(ModuleState& s, const Texts& texts)
{
    return failureOf([&] {
        s.Ratio = readNumber(texts.ratio);
        s.CR = readNumber(texts.cr) * 0.000001;
        s.Fc = readNumber(texts.fc);
        s.N = roundToInt32(readNumber(texts.n));
    });
}

void compareWithPlainModel(const ModuleState& run, std::optional<ErrorKind> failure, const Texts& texts,
                           std::string_view input)
{
    ModuleState plain;
    if (const auto readingFailure = readParameters(plain, texts)) {
        fuzz::require(failure == readingFailure, input, "reading the parameters failed differently");
        return;
    }
    if (plain.N > kMostSamplesToCompare)
        return;
    const auto plainFailure = failureOf([&] { reference::runModelResumming(plain); });
    fuzz::require(failure == plainFailure, input, "the run and the plain model end differently");
    fuzz::require(sameBits(run.CR, plain.CR) && sameBits(run.Fc, plain.Fc) && run.N == plain.N &&
                      sameBits(run.Ratio, plain.Ratio),
                  input, "the parameters were read differently");
    fuzz::require(sameBits(run.Dt, plain.Dt) && sameBits(run.Aol, plain.Aol) && run.K == plain.K &&
                      sameBits(run.Integral, plain.Integral),
                  input, "Dt, Aol, K or the integral differ from the plain model");
    fuzz::require(sameSamples(run.Vp, plain.Vp) && sameSamples(run.Vo, plain.Vo), input,
                  "the samples differ from the plain model");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Texts texts = splitLines(input);

    // Long runs (up to 34 GB of samples) are left out; counts too large for 10 * N
    // still go through, since they fail before allocating anything.
    double samples = 0;
    try {
        samples = readNumber(texts.n);
    } catch (const RuntimeError&) {
    }
    if (samples > kMostSamples && samples <= 214748364.5)
        return -1;

    ModuleState state;
    NoWaveform noWaveform;
    std::optional<ErrorKind> failure;
    try {
        failure = failureOf([&] {
            readRatio(state, texts.ratio);
            runSequence(state, {texts.cr, texts.n, texts.fc}, noWaveform);
        });
    } catch (...) {
        fuzz::fail(input, "an exception other than a run-time error");
    }

    if (failure) {
        fuzz::require(isKnownKind(*failure), input, "an unknown kind of error");
        fuzz::require(!state.lastRunCompleted, input, "a failed run marked complete");
    } else {
        checkCompletedRun(state, input);
    }
    compareWithPlainModel(state, failure, texts, input);
    return 0;
}
