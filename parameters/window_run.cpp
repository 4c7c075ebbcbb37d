#include "parameters/window_run.h"

#include <QCoreApplication>

#include "plot/curve_reduction.h"
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
    }
    waveform_->beginRun();
}

void WindowRun::show()
{
    waveform_->showWindow();
}

void WindowRun::prepareAxes()
{
    PlotImage& plot = waveform_->plotImage();
    wienbridge::prepareAxes(plot);
    waveform_->plotChanged();
    curve_ = std::make_shared<CurveReduction>(plot.geometry());
}

std::shared_ptr<SampleObserver> WindowRun::observer(const RunInputs&)
{
    progress_ = std::make_shared<ProgressCounter>();
    return std::make_shared<SharedObservers>(SharedObservers{curve_, progress_});
}

void WindowRun::compute(Computation computation, std::function<void(ComputationOutcome)> done)
{
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

void WindowRun::exportSamples(const RunInputs& inputs, const QString& path)
{
    if (isRunning())
        return;
    progress_ = std::make_shared<ProgressCounter>();
    compute(sampleExport(inputs, path, progress_), [this, inputs, path](ComputationOutcome outcome) {
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
    const std::shared_ptr<CurveReduction> curve = std::move(curve_);
    if (!waveform_)
        return;  // closed meanwhile: there is nowhere to show the run
    // What was drawn shows, even when the curve stops at a sample it cannot place.
    struct Shown {
        WaveformWindow* window;
        ~Shown() { window->plotChanged(); }
    } shown{waveform_};
    drawCurve(waveform_->plotImage(), *curve, run->result.Peak);
    waveform_->showRun(std::move(run));
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
