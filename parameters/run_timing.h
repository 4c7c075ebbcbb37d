#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QWidget;

namespace wienbridge {

// With the environment variable WIENBRIDGE_TIMING set, writes on standard
// error how long each run takes as the user sees it: from the click on
// "Grafico di Vo" to the end of the repaint that shows the curve. The figure
// the README gives for the window comes from it; otherwise it does nothing.
class RunTiming : public QObject {
public:
    RunTiming();

    // The run button was pressed.
    void runStarted();
    // The curve is drawn into `plot`, which shows it at its next repaint.
    void curveDrawn(QWidget* plot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool wanted_;
    QElapsedTimer clock_;
    QPointer<QWidget> plot_;
};

}  // namespace wienbridge
