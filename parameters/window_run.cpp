#include "parameters/window_run.h"

#include <QCoreApplication>

#include <utility>

#include "plot/plot_drawing.h"
#include "run/sample_export.h"
#include "waveform/plot_picture.h"
#include "waveform/waveform_window.h"
#include "widget_helpers/error_report.h"

namespace wienbridge {

WindowRun::WindowRun(ErrorReport& errors, QWidget* mainWindow) : errors_(errors), main_(mainWindow)
{
    connect(&dialog_, &LongRunDialog::cancelRequested, this, &WindowRun::cancel);
    // Closing the last window ends the program at once: a run or an export under
    // way stops, unreported, and its thread is joined as this object goes.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        quitting_ = true;
        cancel();
    });
}

WindowRun::~WindowRun()
{
    delete waveform_;
}

WaveformWindow* WindowRun::waveformWindow() const
{
    return waveform_;
}

void WindowRun::start(const BoxTexts& texts)
{
    if (isRunning())
        return;
    timing_.runStarted();
    startRun(texts, *this);
}

void WindowRun::cancel()
{
    background_.cancel();
}

void WindowRun::wipe()
{
    if (!waveform_) {
        waveform_ = new WaveformWindow(errors_);
        // Closing the window stops its run: there is nowhere left to draw it.
        connect(waveform_, &QObject::destroyed, this, &WindowRun::cancel);
        connect(waveform_, &WaveformWindow::exportRequested, this, &WindowRun::exportSamples);
        connect(waveform_, &WaveformWindow::windowRequested, this, &WindowRun::showWindowOf);
    }
    waveform_->beginRun();
}

void WindowRun::show()
{
    waveform_->showWindow();
}

void WindowRun::prepareAxes()
{
    wienbridge::prepareAxes(waveform_->plotImage());
    waveform_->plotChanged();
}

std::shared_ptr<SampleObserver> WindowRun::observer(const RunInputs& inputs)
{
    progress_ = std::make_shared<ProgressCounter>();
    const std::optional<Reference>& reference = waveform_->reference();
    curves_ = curvesOfNewRun(waveform_->plotImage().geometry(), inputs, reference);
    referenceRun_ = referenceRun(reference, curves_, progress_);
    return std::make_shared<SharedObservers>(SharedObservers{curves_.curve, curves_.values, progress_});
}

void WindowRun::compute(Computation computation, std::function<void(ComputationOutcome)> done)
{
    if (referenceRun_) {
        // The reference follows the run on the new time axis, in the same computation.
        computation = [run = std::move(computation),
                       reference = std::move(referenceRun_)](std::stop_token stop) {
            FinishedRun finished = run(stop);
            reference(stop);
            return finished;
        };
        referenceRun_ = nullptr;
    }
    busy_.emplace();
    dialog_.watch(progress_, waveform_);
    if (waveform_)
        waveform_->setRunInProgress(true);
    background_.start(std::move(computation), [this, done = std::move(done)](ComputationOutcome outcome) {
        dialog_.stop();
        busy_.reset();
        if (waveform_)
            waveform_->setRunInProgress(false);
        done(std::move(outcome));
    });
}

void WindowRun::showWindowOf(const TimeWindow& window)
{
    const FinishedRun* run = waveform_ ? waveform_->lastRun() : nullptr;
    if (isRunning() || !run)
        return;
    progress_ = std::make_shared<ProgressCounter>();
    const ViewCurves curves = curvesOfWindow(waveform_->plotImage().geometry(), window, run->inputs,
                                             run->result.Samples, waveform_->reference());
    compute(windowRun(run->inputs, waveform_->reference(), curves, progress_),
            [this, curves](ComputationOutcome outcome) {
                try {
                    if (outcome.error)
                        std::rethrow_exception(outcome.error);
                    if (waveform_)
                        waveform_->showView(curves);
                } catch (const RunCancelled&) {
                    // The plot keeps what it showed.
                } catch (...) {
                    report(describeUnexpectedFailure(std::current_exception()));
                }
            });
}

void WindowRun::exportSamples(const RunInputs& inputs, const QString& path, qint64 first, qint64 last)
{
    if (isRunning())
        return;
    progress_ = std::make_shared<ProgressCounter>();
    compute(sampleExport(inputs, path, progress_, first, last),
            [this, inputs, path](ComputationOutcome outcome) {
                const std::string file = path.toStdString();
                try {
                    if (outcome.error)
                        std::rethrow_exception(outcome.error);
                } catch (const RunCancelled&) {
                    report(exportCancelled(file));
                } catch (const SampleFileNotWritten&) {
                    report(samplesNotExported(file));
                } catch (const RuntimeError& error) {
                    report(describeFailure(error, inputs));
                } catch (...) {
                    report(describeUnexpectedFailure(std::current_exception()));
                }
            });
}

void WindowRun::finished(std::shared_ptr<const FinishedRun> run)
{
    const ViewCurves curves = std::exchange(curves_, {});
    if (!waveform_)
        return;  // closed meanwhile: there is nowhere to show the run
    waveform_->showRun(std::move(run), curves);
    timing_.curveDrawn(waveform_->plot());
}

void WindowRun::failed(const FailureMessage& failure)
{
    report(failure);
}

void WindowRun::report(const FailureMessage& failure)
{
    if (quitting_)
        return;
    errors_.report(failure, main_ && main_->isVisible() ? main_.data() : waveform_.data());
}

}  // namespace wienbridge
