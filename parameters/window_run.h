#pragma once

#include <limits>
#include <memory>
#include <optional>

#include <QObject>
#include <QPointer>

#include "parameters/long_run_dialog.h"
#include "parameters/run_timing.h"
#include "run/background_run.h"
#include "run/progress_counter.h"
#include "run/run_sequence.h"
#include "waveform/plot_view.h"
#include "widget_helpers/busy_cursor.h"

class QWidget;

namespace wienbridge {

class ErrorReport;
class WaveformWindow;

// The runs the windows start, one at a time: each draws into the waveform
// window, loaded unseen on the first run and again after the user closed it,
// and is computed on a worker thread while the windows go on answering; a
// long one shows its progress over the waveform window, and a failure is
// reported. What the worker computes owns all it writes to (the plot's
// reduction, the progress), so nothing here must outlive it; and the end of a
// run looks for the waveform window afresh, so a window closed meanwhile is
// simply not drawn in.
class WindowRun final : public QObject, private RunFrontEnd {
    Q_OBJECT

public:
    // errors: where failures go, over `mainWindow` while it is shown and over
    // the waveform window otherwise.
    WindowRun(ErrorReport& errors, QWidget* mainWindow);
    ~WindowRun() override;

    // A run from the texts of the parameter boxes.
    void start(const BoxTexts& texts);
    bool isRunning() const { return background_.isRunning(); }
    // Stops the run under way, if any, leaving the empty axes and nothing to read.
    void cancel();
    // Runs the model again with the inputs of a finished run, writing its samples
    // into the file as the command line's CSV does: a run like any other, which
    // the run button waits for. The file appears only once whole.
    void exportSamples(const RunInputs& inputs, const QString& path, qint64 first = 1,
                       qint64 last = std::numeric_limits<qint64>::max());
    // Computes the curves of a window of the last run's time axis, with the
    // reference, as a run is computed, and shows them; a cancelled one leaves
    // the plot as it was.
    void showWindowOf(const TimeWindow& window);
    // The waveform window, or null before the first run and after the user closed it.
    WaveformWindow* waveformWindow() const;

private:
    void wipe() override;
    void show() override;
    void prepareAxes() override;
    std::shared_ptr<SampleObserver> observer(const RunInputs& inputs) override;
    // On the worker thread, with the progress dialog and the busy pointer: runs and exports alike.
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override;
    void finished(std::shared_ptr<const FinishedRun> run) override;
    void failed(const FailureMessage& failure) override;

    void report(const FailureMessage& failure);

    ErrorReport& errors_;
    QPointer<QWidget> main_;
    QPointer<WaveformWindow> waveform_;
    ViewCurves curves_;                                  // of the run being computed
    std::function<void(std::stop_token)> referenceRun_;  // likewise, its reference run again
    std::shared_ptr<ProgressCounter> progress_;          // likewise
    LongRunDialog dialog_;
    std::optional<BusyCursor> busy_;
    RunTiming timing_;
    bool quitting_ = false;  // nothing is reported once the program ends
    // Last, so that it is destroyed first: a computation under way is stopped
    // and its thread joined before anything else here goes.
    BackgroundRun background_;
};

}  // namespace wienbridge
