#include "parameter_reading.h"

#include "failure_hints.h"
#include "float_check.h"
#include "number_reading.h"
#include "rounding.h"

namespace wienbridge {
namespace {

// A box read on its own: a number too large to read names that box.
template <class Reading>
auto readBox(RunStage stage, Reading&& reading)
{
    return explainingFailures(stage, {}, {}, reading);
}

}  // namespace

double readRatio(std::string_view text)
{
    return readBox(RunStage::ReadingRatio, [&] { return readNumber(text); });
}

RunInputs readRunInputs(double ratio, const ParameterTexts& texts)
{
    RunInputs in;
    in.Ratio = ratio;
    in.CR = readBox(RunStage::ReadingTimeConstant, [&] {
        return checkedStatement([](double us) { return us * 0.000001; },
                                readNumber(texts.timeConstantMicroseconds));
    });
    in.Fc = readBox(RunStage::ReadingCrossover, [&] { return readNumber(texts.crossoverMegahertz); });
    in.N = readBox(RunStage::ReadingSampleCount, [&] { return roundToInt32(readNumber(texts.sampleCount)); });
    return in;
}

}  // namespace wienbridge
