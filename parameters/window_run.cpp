#include "window_run.h"

#include <QSaveFile>

#include "csv_samples.h"
#include "error_report.h"
#include "oscillator_model.h"
#include "plot_picture.h"
#include "waveform_window.h"

namespace wienbridge {

WindowRun::WindowRun(ErrorReport& errors, QWidget* dialogParent)
    : errors_(errors), dialog_(progress_, dialogParent)
{
    connect(&dialog_, &LongRunDialog::cancelRequested, this, &WindowRun::cancel);
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

void WindowRun::abandon()
{
    abandoned_ = true;
    cancel();
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

namespace {

// A write to the export's file that failed: the disk full, say.
struct ExportWriteFailed {};

}  // namespace

void WindowRun::exportSamples(const RunInputs& inputs, const QString& path)
{
    if (isRunning())
        return;
    const auto failed = [this, path](const char* what, const char* why) {
        if (!abandoned_)
            errors_.report({what, why + path.toStdString()}, waveform_);
    };
    // Written by the worker thread alone while the run computes, and committed
    // here after it: never by two threads at once.
    auto file = std::make_shared<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly)) {
        failed("Esportazione non riuscita", "Impossibile scrivere il file ");
        return;
    }
    ProgressCounter* progress = &progress_;
    Computation computation = [inputs, file, progress](std::stop_token stop) {
        CsvSamples csv([&file](std::string_view text) {
            if (file->write(text.data(), static_cast<qint64>(text.size()))
                != static_cast<qint64>(text.size()))
                throw ExportWriteFailed{};
        });
        ObserverList observers{&csv, progress};
        FinishedRun run{{}, inputs, simulate(inputs, observers, std::move(stop)), {}, {}};
        csv.flush();
        return run;
    };
    compute(std::move(computation), [file, failed](ComputationOutcome outcome) {
        try {
            if (outcome.error)
                std::rethrow_exception(outcome.error);
            if (!file->commit())
                throw ExportWriteFailed{};
        } catch (const RunCancelled&) {
            failed("Esportazione annullata", "Nessun file è stato scritto: ");
        } catch (const ExportWriteFailed&) {
            failed("Esportazione non riuscita", "Impossibile scrivere il file ");
        }
    });
}

void WindowRun::finished(std::shared_ptr<const FinishedRun> run)
{
    waveform_->showRun(std::move(run));
    timing_.curveDrawn(waveform_->plot());
}

void WindowRun::failed(const FailureMessage& failure)
{
    errors_.report(failure);
}

}  // namespace wienbridge
