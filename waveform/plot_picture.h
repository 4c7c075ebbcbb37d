#pragma once

#include <QFrame>
#include <QImage>

#include "plot/plot_image.h"

namespace wienbridge {

// Picture1: the plot surface of the waveform window. What is drawn goes into a
// PlotImage the widget keeps, so covering, minimising or resizing the window
// never loses the plot. The image has a pixel for every device pixel of the
// inner area on the screen it was wiped on; moved to a screen of another scale,
// it shows scaled until the next wipe. Every pointer movement over it is
// reported in user coordinates.
class PlotPicture : public QFrame {
    Q_OBJECT

public:
    explicit PlotPicture(QWidget* parent = nullptr);

    // Replaces the background picture and erases everything drawn, at the
    // widget's present device pixel ratio. A null picture leaves the plain
    // pale-yellow background.
    void setPicture(const QImage& picture);

    PlotImage& plot() { return plot_; }
    const QImage& drawing() const { return plot_.image(); }
    // Redraws the widget from the plot, after drawing into it.
    void showDrawing() { update(); }

    QSize sizeHint() const override;

signals:
    // The pointer moved over the plot, pressed or not; x and y in user coordinates.
    void pointerMoved(float x, float y);
    // The pointer moved onto the border, or off the plot.
    void pointerLeftPlot();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect deviceInnerArea(double ratio) const;

    PlotImage plot_;
};

}  // namespace wienbridge
