#pragma once

#include <limits>
#include <memory>
#include <optional>

#include <QPointer>
#include <QWidget>

#include "plot/axis_values.h"
#include "simulation/finished_run.h"
#include "waveform/plot_menu.h"
#include "waveform/plot_view.h"
#include "waveform/results_window.h"
#include "waveform/sweep_window.h"

namespace wienbridge {

class ErrorReport;
class PlotImage;
class PlotPicture;

namespace Ui {
class WaveformWindow;
}

// The waveform window Form2, "Forma d'onda in uscita": the plot Picture1 of the
// last run and, under the pointer, a tooltip reading the time and the voltage
// there. Closing the window deletes it with its drawing.
//
// The plot shows the whole run, or a window of its time axis the user chose;
// behind the run's curve, a kept reference; over it, the cursors, whose
// readings go in the bottom margin. What it shows is redrawn only from curves
// computed for it (see plot_view.h): the window asks for them and the run
// front end computes them.
class WaveformWindow : public QWidget {
    Q_OBJECT

public:
    // errors: where a pointer move that fails to compute is reported.
    explicit WaveformWindow(ErrorReport& errors, QWidget* parent = nullptr);
    ~WaveformWindow() override;

    PlotPicture* plot() const;

    // A run begins: Picture1 gets the empty picture of Picture2, which erases
    // the axes and the curve, and the last run is forgotten, so the readout
    // shows nothing until the next run finishes. A kept reference stays.
    void beginRun();
    // Shows the window beside the parameter window, non-modal, on top.
    void showWindow();
    // Where a run draws: Picture1's pixels, sized by the last beginRun.
    PlotImage& plotImage();
    // Shows what was drawn into plotImage().
    void plotChanged();
    // A run finished with these curves, which are drawn over the axes already
    // there: the run the readout reads and the plot's menu acts on. Throws as
    // drawCurve does, what was drawn shown and the run not kept.
    void showRun(std::shared_ptr<const FinishedRun> run, const ViewCurves& curves);
    // The curves of a window of the last run: the plot shows them.
    void showView(const ViewCurves& curves);
    const FinishedRun* lastRun() const { return lastRun_.get(); }
    const std::optional<Reference>& reference() const { return reference_; }
    // Whether a run, an export or a window computes; the plot's menu waits for it.
    void setRunInProgress(bool running);

    // The plot as it is copied and saved: Picture1's pixels, with its labelled
    // margins when the axis values or the cursors are shown.
    QImage plotPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

signals:
    // "Esporta campioni…" chose a file: samples first to last of the run with
    // these inputs are to be written there.
    void exportRequested(const RunInputs& inputs, const QString& path, qint64 first = 1,
                         qint64 last = std::numeric_limits<qint64>::max());
    // The user chose to see this window of the last run's time axis.
    void windowRequested(const TimeWindow& window);

private slots:
    void pointerMovedOverPlot(float x, float y);
    void pointerLeftPlot();
    void plotMenuRequested(const QPoint& where);
    void showResults();
    void showSweep();
    void copyPlot();
    void savePlot();
    void chooseExportFile();
    void spanSelected(float x0, float x1);
    void wheelTurned(float x, int notches);
    void wholeViewChosen();
    void keepReference();
    void dropReference();
    void stepReadout(int step);
    void cursorsMoved();

private:
    void setReadout(const QString& text);
    void updateMenu();
    // Everything that shows the last run follows it: the menu, the axis values, Risultati.
    void lastRunChanged();
    // The curves become the plot's: its scale, its axis values.
    void keepCurves(const ViewCurves& curves);
    // Picture1 erased to its background and axes.
    void clearPlot();
    void requestWindow(const TimeWindow& window);
    PlotScale scale() const;
    // Picture1's inner area, in the window's coordinates.
    QRect plotArea() const;
    // The axis values and the cursors' readings, where shown.
    void paintMargins(QPainter& painter) const;

    std::unique_ptr<Ui::WaveformWindow> ui;
    ErrorReport& errors_;
    PlotMenu* menu_;
    QPointer<ResultsWindow> results_;
    QPointer<SweepWindow> sweep_;
    std::shared_ptr<const FinishedRun> lastRun_;
    ViewCurves curves_;  // of the last run, as drawn
    double peak_ = 0.0;  // the vertical scale they are drawn at
    std::optional<Reference> reference_;
    AxisValues axisValues_;   // of the last run, ready to show
    int readoutColumn_ = -1;  // where Left and Right read the curve, -1 before they have
    bool running_ = false;
};

}  // namespace wienbridge
