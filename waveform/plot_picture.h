#pragma once

#include <span>

#include <QFrame>
#include <QImage>
#include <QPixmap>

#include "plot_mapping.h"

namespace wienbridge {

// Picture1: the plot surface of the waveform window. Lines are drawn in user
// coordinates (plot_mapping.h) into an image of the inner area that the widget
// keeps, so covering, minimising or resizing the window never loses the plot.
// Every pointer movement over it is reported in user coordinates.
class PlotPicture : public QFrame {
    Q_OBJECT

public:
    explicit PlotPicture(QWidget* parent = nullptr);

    // Replaces the background picture and erases everything drawn. A null
    // picture leaves the plain pale-yellow background.
    void setPicture(const QPixmap& picture);
    QPixmap picture() const;

    // The colour lines take when the drawing names none: the palette's text colour.
    QColor foregroundColour() const;

    void drawLine(UserPoint from, UserPoint to, const QColor& colour);
    void drawPolyline(std::span<const UserPoint> points, const QColor& colour);

    // What the inner area shows: the background, the picture and the drawing.
    QImage drawing() const;

    QSize sizeHint() const override;

signals:
    // The pointer moved over the plot, pressed or not; x and y in user coordinates.
    void pointerMoved(float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    QImage drawing_;
};

}  // namespace wienbridge
