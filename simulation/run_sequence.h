#pragma once

#include <string_view>

#include "module_state.h"

namespace wienbridge {

// What a run needs of the waveform window. The run drives it; it knows nothing
// of the model's equations, only of the samples and their peak.
class WaveformSink {
public:
    virtual ~WaveformSink() = default;
    // Loads the window if needed and shows it.
    virtual void showWindow() = 0;
    // Sets the plot's user scale and draws the ticks and the zero line.
    virtual void prepareAxes() = 0;
    // Draws Vo[1] to Vo[10 * N], normalised to the peak.
    virtual void drawCurve(const ModuleState& state) = 0;
};

// A sink that draws nothing, for runs without windows.
class NoWaveform final : public WaveformSink {
public:
    void showWindow() override {}
    void prepareAxes() override {}
    void drawCurve(const ModuleState&) override {}
};

// The texts of the parameter boxes a run reads, as typed.
struct ParameterTexts {
    std::string_view timeConstantMicroseconds;  // CR, in microseconds
    std::string_view sampleCount;               // N
    std::string_view crossoverMegahertz;        // Fc, in MHz
};

// The first thing the run button does after wiping the plot: take the ratio
// R1 / R2 from its box. From here until the curve is drawn, the state holds an
// incomplete run.
void readRatio(ModuleState& state, std::string_view ratioText);

// One complete run, in this order: show the window, prepare the axes, read CR,
// Fc and N, run the model, find the peak, draw the curve. A RuntimeError stops
// it at the failing step, with the window showing what was drawn before.
void runSequence(ModuleState& state, const ParameterTexts& texts, WaveformSink& waveform);

}  // namespace wienbridge
