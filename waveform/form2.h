#pragma once

#include <memory>

#include <QWidget>

#include "error_report.h"
#include "module_state.h"
#include "run_sequence.h"

namespace wienbridge {

class PlotPicture;

namespace Ui {
class Form2;
}

// The waveform window, "Forma d'onda in uscita": the plot of the last run and,
// under the pointer, a tooltip reading the time and voltage there. Closing the
// window deletes it with its drawing. A run draws on it as its waveform sink.
class Form2 : public QWidget, public WaveformSink {
    Q_OBJECT

public:
    // state: what the readout reads; it must outlive the window.
    // errors: where a pointer move that fails to compute is reported.
    Form2(const ModuleState& state, ErrorReport& errors, QWidget* parent = nullptr);
    ~Form2() override;

    PlotPicture* picture1() const;
    QWidget* picture2() const;

    // Gives Picture1 the empty picture of Picture2, erasing the axes and the curve.
    void wipePlot();
    // Shows the window beside the parameter window, non-modal, on top.
    void showWindow() override;
    void prepareAxes() override;
    void drawCurve(const ModuleState& state) override;

private slots:
    void showReadout(float x, float y);

private:
    std::unique_ptr<Ui::Form2> ui;
    const ModuleState& state_;
    ErrorReport& errors_;
};

}  // namespace wienbridge
