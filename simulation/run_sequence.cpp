#include "run_sequence.h"

#include "float_check.h"
#include "number_reading.h"
#include "oscillator_model.h"
#include "peak_search.h"
#include "rounding.h"

namespace wienbridge {

void readRatio(ModuleState& state, std::string_view ratioText)
{
    state.lastRunCompleted = false;
    state.Ratio = readNumber(ratioText);
}

void runSequence(ModuleState& state, const ParameterTexts& texts, WaveformSink& waveform)
{
    state.lastRunCompleted = false;
    waveform.showWindow();
    waveform.prepareAxes();

    const double microseconds = readNumber(texts.timeConstantMicroseconds);
    state.CR = checkedStatement([](double us) { return us * 0.000001; }, microseconds);
    state.Fc = readNumber(texts.crossoverMegahertz);
    state.N = roundToInt32(readNumber(texts.sampleCount));

    runModel(state);
    findPeak(state);
    waveform.drawCurve(state);
    state.lastRunCompleted = true;
}

}  // namespace wienbridge
