#include "form2_waveform.h"

#include "form2.h"

namespace wienbridge {

void Form2Waveform::showWindow()
{
    form_.show();
    form_.raise();
}

void Form2Waveform::prepareAxes()
{
    form_.prepareAxes();
}

void Form2Waveform::drawCurve(const ModuleState& state)
{
    form_.drawCurve(state);
}

}  // namespace wienbridge
