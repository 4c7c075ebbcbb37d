#include "waveform_window.h"

#include <QCursor>
#include <QToolTip>

#include "error_report.h"
#include "plot_picture.h"
#include "readout.h"
#include "ui_waveform_window.h"

namespace wienbridge {

WaveformWindow::WaveformWindow(ErrorReport& errors, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WaveformWindow>()), errors_(errors)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // The parameter window is the main window: this one alone keeps nothing running.
    setAttribute(Qt::WA_QuitOnClose, false);
    // The pointer comes to the plot straight from the run button, with the
    // parameter window still active: the readout must show without a click here first.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    connect(ui->Picture1, &PlotPicture::pointerMoved, this, &WaveformWindow::pointerMovedOverPlot);
    connect(ui->Picture1, &PlotPicture::pointerLeftPlot, this, &WaveformWindow::pointerLeftPlot);
}

WaveformWindow::~WaveformWindow() = default;

PlotPicture* WaveformWindow::plot() const
{
    return ui->Picture1;
}

void WaveformWindow::beginRun()
{
    lastRun_.reset();
    setReadout(QString());
    ui->Picture1->setPicture(ui->Picture2->pixmap().toImage());
}

void WaveformWindow::showWindow()
{
    show();
    raise();
}

PlotImage& WaveformWindow::plotImage()
{
    return ui->Picture1->plot();
}

void WaveformWindow::plotChanged()
{
    ui->Picture1->showDrawing();
}

void WaveformWindow::showRun(std::shared_ptr<const FinishedRun> run)
{
    lastRun_ = std::move(run);
}

void WaveformWindow::pointerMovedOverPlot(float x, float y)
{
    if (!lastRun_) {
        setReadout(QString());
        return;
    }
    const ReadoutScale scale{lastRun_->inputs.CR, lastRun_->result.Peak};
    runReportingErrors(errors_, [&] { setReadout(readoutText(scale, x, y)); });
}

void WaveformWindow::pointerLeftPlot()
{
    setReadout(QString());
}

void WaveformWindow::setReadout(const QString& text)
{
    ui->Picture1->setToolTip(text);
    // A tooltip already on screen would keep its old numbers until the pointer
    // rests again; rewrite it so that it follows the pointer.
    if (QToolTip::isVisible())
        QToolTip::showText(QCursor::pos(), text, ui->Picture1);
}

}  // namespace wienbridge
