#pragma once

#include <optional>

#include <QObject>
#include <QPointer>

#include "background_run.h"
#include "busy_cursor.h"
#include "long_run_dialog.h"
#include "progress_counter.h"
#include "run_sequence.h"
#include "run_timing.h"

class QWidget;

namespace wienbridge {

class ErrorReport;
class WaveformWindow;

// The runs the windows start, one at a time: each draws into the waveform
// window, loaded unseen on the first run and again after the user closed it,
// and is computed on a worker thread while the windows go on answering; a
// long one shows its progress, and a failure is reported.
class WindowRun final : public QObject, private RunFrontEnd {
    Q_OBJECT

public:
    // errors: where failures go; dialogParent: the window the progress dialog belongs to.
    WindowRun(ErrorReport& errors, QWidget* dialogParent);
    ~WindowRun() override;

    // A run from the texts of the parameter boxes.
    void start(const BoxTexts& texts);
    bool isRunning() const { return background_.isRunning(); }
    // Stops the run under way, if any, leaving the empty axes and nothing to read.
    void cancel();
    // The same as the program ends: a cancelled export is not reported either.
    void abandon();
    // Runs the model again with the inputs of a finished run, writing its samples
    // into the file as the command line's CSV does: a run like any other, which
    // the run button waits for. The file appears only once whole.
    void exportSamples(const RunInputs& inputs, const QString& path);
    // The waveform window, or null before the first run and after the user closed it.
    WaveformWindow* waveformWindow() const;

private:
    void wipe() override;
    void show() override;
    PlotImage* plot() override;
    void plotChanged() override;
    SampleObserver* extraObserver() override { return &progress_; }
    // On the worker thread, with the progress dialog and the busy pointer: runs and exports alike.
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override;
    void finished(std::shared_ptr<const FinishedRun> run) override;
    void failed(const FailureMessage& failure) override;

    ErrorReport& errors_;
    QPointer<WaveformWindow> waveform_;
    ProgressCounter progress_;
    LongRunDialog dialog_;
    BackgroundRun background_;
    std::optional<BusyCursor> busy_;
    RunTiming timing_;
    bool abandoned_ = false;
};

}  // namespace wienbridge
