#include "parameters/run_timing.h"

#include <cstdio>

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace wienbridge {

RunTiming::RunTiming() : wanted_(qEnvironmentVariableIsSet("WIENBRIDGE_TIMING")) {}

void RunTiming::runStarted()
{
    if (wanted_)
        clock_.start();
}

void RunTiming::curveDrawn(QWidget* plot)
{
    if (!wanted_ || !clock_.isValid())
        return;
    plot_ = plot;
    plot_->installEventFilter(this);
}

bool RunTiming::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == plot_ && event->type() == QEvent::Paint) {
        plot_->removeEventFilter(this);
        // Read once the paint event has been handled: the curve is then on screen.
        QTimer::singleShot(0, this, [this] {
            std::fprintf(stderr, "Grafico di Vo: %.1f ms dal clic al disegno della curva\n",
                         static_cast<double>(clock_.nsecsElapsed()) / 1e6);
            clock_.invalidate();
        });
    }
    return false;
}

}  // namespace wienbridge
