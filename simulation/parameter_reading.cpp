#include "simulation/parameter_reading.h"

#include "runtime/float_check.h"
#include "runtime/number_reading.h"
#include "runtime/rounding.h"

namespace wienbridge {

double readRatio(std::string_view text)
{
    return readNumber(text, Quantity::RatioText);
}

RunInputs readRunInputs(double ratio, const ParameterTexts& texts)
{
    RunInputs in;
    in.Ratio = ratio;
    in.CR = checkedStatement(
        Quantity::TimeConstantText, [](double us) { return us * 0.000001; },
        readNumber(texts.timeConstantMicroseconds, Quantity::TimeConstantText));
    in.Fc = readNumber(texts.crossoverMegahertz, Quantity::CrossoverText);
    in.N = roundToInt32(readNumber(texts.sampleCount, Quantity::SampleCountText), Quantity::SampleCountText);
    return in;
}

}  // namespace wienbridge
