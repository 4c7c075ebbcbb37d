#pragma once

#include <string_view>

#include "module_state.h"
#include "plot_drawing.h"
#include "plot_picture.h"
#include "run_sequence.h"
#include "support/pixels.h"

namespace wienbridge::testing {

// The state a run of the default inputs leaves (CR 159.15 us, Fc 3 MHz) for
// the given ratio and sample count.
inline ModuleState completedRun(std::string_view ratio, std::string_view sampleCount = "100")
{
    ModuleState state;
    NoWaveform noWindow;
    readRatio(state, ratio);
    runSequence(state, {"159.15", sampleCount, "3"}, noWindow);
    return state;
}

// A run's view of the waveform window, drawing into a bare Picture1 that is
// never shown.
class BarePlot final : public WaveformSink {
public:
    explicit BarePlot(CurveStroke stroke = CurveStroke::ReducedPerColumn) : stroke_(stroke) {}
    void showWindow() override {}
    void prepareAxes() override { wienbridge::prepareAxes(picture); }
    void drawCurve(const ModuleState& state) override { wienbridge::drawCurve(picture, state, stroke_); }
    PlotPicture picture;

private:
    CurveStroke stroke_;
};

}  // namespace wienbridge::testing
