#include "window_run.h"

#include "error_report.h"
#include "plot_picture.h"
#include "waveform_window.h"

namespace wienbridge {

WindowRun::WindowRun(ErrorReport& errors, QWidget* dialogParent)
    : errors_(errors), dialog_(progress_, dialogParent)
{
    connect(&dialog_, &LongRunDialog::cancelRequested, this, &WindowRun::cancel);
    connect(&background_, &BackgroundRun::ended, this, &WindowRun::ended);
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
    if (!isRunning())
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
    }
    waveform_->beginRun();
}

void WindowRun::show()
{
    waveform_->showWindow();
}

PlotImage* WindowRun::plot()
{
    return waveform_ ? &waveform_->plotImage() : nullptr;
}

void WindowRun::plotChanged()
{
    if (waveform_)
        waveform_->plotChanged();
}

void WindowRun::compute(Computation computation, std::function<void(ComputationOutcome)> done)
{
    busy_.emplace();
    progress_.reset();
    dialog_.watch();
    background_.start(std::move(computation), [this, done = std::move(done)](ComputationOutcome outcome) {
        dialog_.stop();
        busy_.reset();
        done(std::move(outcome));
    });
}

void WindowRun::finished(std::shared_ptr<const FinishedRun> run)
{
    waveform_->showRun(std::move(run));
}

void WindowRun::failed(const FailureMessage& failure)
{
    errors_.report(failure);
}

}  // namespace wienbridge
