#pragma once

#include "run_sequence.h"

namespace wienbridge {

class Form2;

// A run's view of the waveform window: shows it beside the parameter window
// and draws on its plot.
class Form2Waveform final : public WaveformSink {
public:
    explicit Form2Waveform(Form2& form) : form_(form) {}
    void showWindow() override;
    void prepareAxes() override;
    void drawCurve(const ModuleState& state) override;

private:
    Form2& form_;
};

}  // namespace wienbridge
