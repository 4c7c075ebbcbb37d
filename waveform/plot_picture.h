#pragma once

#include <array>

#include <QFrame>
#include <QImage>

#include "plot/plot_image.h"
#include "waveform/cursor_readout.h"

class QRubberBand;

namespace wienbridge {

// Picture1: the plot surface of the waveform window. What is drawn goes into a
// PlotImage the widget keeps, so covering, minimising or resizing the window
// never loses the plot. The image has a pixel for every device pixel of the
// inner area on the screen it was wiped on; moved to a screen of another scale,
// it shows scaled until the next wipe. Every pointer movement over it is
// reported in user coordinates.
//
// What the user does to choose what the plot shows is reported, not acted on:
// a drag with the left button across it (shown meanwhile by a rubber band),
// the wheel, Home, and Left or Right with no cursors shown. The cursors are
// the widget's own: shown on request, dragged with the mouse or moved with the
// arrow keys, C picking the next one, and drawn over the plot.
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

    // Whether a drag or the wheel may choose a time window: a run is shown and nothing computes.
    void setZoomable(bool zoomable) { zoomable_ = zoomable; }
    void showCursors(bool shown);
    bool cursorsShown() const { return cursorsShown_; }
    CursorPlaces cursorPlaces() const;
    // Where the point (x, y) of the plot is on the screen.
    QPoint globalPosition(float x, float y) const;

    QSize sizeHint() const override;

signals:
    // The pointer moved over the plot, pressed or not; x and y in user coordinates.
    void pointerMoved(float x, float y);
    // The pointer moved onto the border, or off the plot.
    void pointerLeftPlot();
    // The left button was dragged across the plot from x0 to x1 (x0 < x1).
    void spanSelected(float x0, float x1);
    // The wheel turned by whole notches over the plot's x, positive away from the user.
    void wheelTurned(float x, int notches);
    void homePressed();
    // Left (-1) or Right (+1) with no cursors shown.
    void readoutStepped(int step);
    // A cursor moved, or another was picked.
    void cursorsMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect deviceInnerArea(double ratio) const;
    // Where a position in the widget falls on the image's pixels, and in the
    // plot's user coordinates.
    QPointF devicePosition(QPointF position) const;
    UserPoint userPoint(QPointF position) const;
    // The cursor whose line passes within a few pixels of the position, or -1.
    int cursorNear(QPointF position) const;
    void moveCursor(int cursor, int to);
    void paintCursors(QPainter& painter) const;

    PlotImage plot_;
    bool zoomable_ = false;
    QRubberBand* band_;
    double bandFrom_ = -1;  // where the drag began, in the widget; -1 with no drag
    int wheelAngle_ = 0;    // of a notch not yet whole, for wheels that turn in smaller steps
    bool cursorsShown_ = false;
    // The cursors in the inner area's logical pixels: t1 and t2 are columns,
    // v1 and v2 rows (0 = top).
    std::array<int, 4> cursors_{225, 675, 130, 370};
    int picked_ = 0;    // the cursor the arrow keys move
    int dragged_ = -1;  // the cursor the mouse moves
};

}  // namespace wienbridge
