#pragma once

#include <memory>

#include <QPointer>
#include <QWidget>

#include "plot/axis_values.h"
#include "simulation/finished_run.h"
#include "waveform/plot_menu.h"
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
class WaveformWindow : public QWidget {
    Q_OBJECT

public:
    // errors: where a pointer move that fails to compute is reported.
    explicit WaveformWindow(ErrorReport& errors, QWidget* parent = nullptr);
    ~WaveformWindow() override;

    PlotPicture* plot() const;

    // A run begins: Picture1 gets the empty picture of Picture2, which erases
    // the axes and the curve, and the last run is forgotten, so the readout
    // shows nothing until the next run finishes.
    void beginRun();
    // Shows the window beside the parameter window, non-modal, on top.
    void showWindow();
    // Where a run draws: Picture1's pixels, sized by the last beginRun.
    PlotImage& plotImage();
    // Shows what was drawn into plotImage().
    void plotChanged();
    // The run whose curve was drawn last, which the readout reads and the
    // plot's menu acts on.
    void showRun(std::shared_ptr<const FinishedRun> run);
    // Whether a run or an export computes; the plot's menu waits for it.
    void setRunInProgress(bool running);

    // The plot as it is copied and saved: Picture1's pixels, with its labelled
    // margins when the axis values are shown.
    QImage plotPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

signals:
    // "Esporta campioni…" chose a file: the samples of the run with these inputs are to be written there.
    void exportRequested(const RunInputs& inputs, const QString& path);

private slots:
    void pointerMovedOverPlot(float x, float y);
    void pointerLeftPlot();
    void plotMenuRequested(const QPoint& where);
    void showResults();
    void showSweep();
    void copyPlot();
    void savePlot();
    void chooseExportFile();

private:
    void setReadout(const QString& text);
    void updateMenu();
    // Everything that shows the last run follows it: the menu, the axis values, Risultati.
    void lastRunChanged();
    // Picture1's inner area, in the window's coordinates.
    QRect plotArea() const;

    std::unique_ptr<Ui::WaveformWindow> ui;
    ErrorReport& errors_;
    PlotMenu* menu_;
    QPointer<ResultsWindow> results_;
    QPointer<SweepWindow> sweep_;
    std::shared_ptr<const FinishedRun> lastRun_;
    AxisValues axisValues_;  // of the last run, ready to show
    bool running_ = false;
};

}  // namespace wienbridge
