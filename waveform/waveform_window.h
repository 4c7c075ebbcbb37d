#pragma once

#include <memory>
#include <optional>

#include <QWidget>

#include "curve_reduction.h"
#include "readout.h"

namespace wienbridge {

class ErrorReport;
class PlotPicture;

namespace Ui {
class WaveformWindow;
}

// The waveform window Form2, "Forma d'onda in uscita": the plot Picture1 of the
// last run and, under the pointer, a tooltip reading the time and the voltage
// there. Closing the window deletes it with its drawing.
class WaveformWindow : public QWidget {
    Q_OBJECT

public:
    // errors: where a pointer move that fails to compute is reported.
    explicit WaveformWindow(ErrorReport& errors, QWidget* parent = nullptr);
    ~WaveformWindow() override;

    PlotPicture* plot() const;

    // Gives Picture1 the empty picture of Picture2, erasing the axes and the
    // curve, and forgets the last run: the readout shows nothing until the
    // next run finishes.
    void wipePlot();
    // Shows the window beside the parameter window, non-modal, on top.
    void showWindow();
    void prepareAxes();
    // The pixels a run's curve is reduced to and drawn in: Picture1's device
    // pixels, as the last wipePlot sized them.
    PlotGeometry plotGeometry() const;
    // Draws the curve of a run, normalised to its peak.
    void drawCurve(const CurveReduction& curve, double peak);
    // Makes the readout read the run whose curve was drawn last.
    void keepReadout(const ReadoutScale& run);

private slots:
    void pointerMovedOverPlot(float x, float y);
    void pointerLeftPlot();

private:
    void setReadout(const QString& text);

    std::unique_ptr<Ui::WaveformWindow> ui;
    ErrorReport& errors_;
    std::optional<ReadoutScale> lastRun_;
};

}  // namespace wienbridge
