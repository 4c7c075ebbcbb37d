#include "waveform/plot_picture.h"

#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "plot/colours.h"

namespace wienbridge {
namespace {

constexpr int kBorderWidth = 2;

}  // namespace

PlotPicture::PlotPicture(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
    QPalette background = palette();
    background.setColor(QPalette::Window, colours::plotBackground());
    setPalette(background);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

void PlotPicture::setPicture(const QImage& picture)
{
    const double ratio = devicePixelRatio();
    const QRect device = deviceInnerArea(ratio);
    const PlotGeometry geometry{device.width(), device.height(), lineWidthAt(ratio)};
    if (plot_.geometry() != geometry || plot_.image().devicePixelRatio() != ratio)
        plot_ = PlotImage(geometry, ratio);
    plot_.clear(picture);
    update();
}

// Where the inner area lies in the window's device pixels. Qt puts a logical
// edge at e on the device pixel edge nearest to e * ratio, halves up, so the
// area's size in device pixels depends on where it lies in the window and not
// only on its logical size: 901 pixels at x = 82 are 1576 device pixels at
// ratio 1.75, but would be 1577 at x = 81.
QRect PlotPicture::deviceInnerArea(double ratio) const
{
    const QRect inner = contentsRect().translated(mapTo(window(), QPoint()));
    const auto edge = [ratio](int logical) { return static_cast<int>(std::floor(logical * ratio + 0.5)); };
    return QRect(QPoint(edge(inner.left()), edge(inner.top())),
                 QPoint(edge(inner.right() + 1) - 1, edge(inner.bottom() + 1) - 1));
}

QSize PlotPicture::sizeHint() const
{
    return {kPlotWidth + 2 * kBorderWidth, kPlotHeight + 2 * kBorderWidth};
}

void PlotPicture::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    // Drawn at its ratio, the image lands on the device pixels deviceInnerArea
    // names, one to one.
    painter.drawImage(contentsRect().topLeft(), plot_.image());
}

void PlotPicture::mouseMoveEvent(QMouseEvent* event)
{
    // Read on the image's pixels, where the plot was drawn: a logical position
    // p is at device position p * ratio, and the pixel there is the one whose
    // centre the readout takes, as at scale 1.
    const double ratio = plot_.image().devicePixelRatio();
    const QPointF device = (event->position() + QPointF(mapTo(window(), QPoint()))) * ratio
                           - QPointF(deviceInnerArea(ratio).topLeft());
    // The border is not part of the plot: there is nothing to read there.
    if (!plot_.image().rect().contains(device.toPoint())) {
        emit pointerLeftPlot();
        return;
    }
    const UserPoint point = plot_.geometry().toUser({device.x(), device.y()});
    emit pointerMoved(point.x, point.y);
}

void PlotPicture::keyPressEvent(QKeyEvent* event)
{
    // Shift+F10 opens the menu from the keyboard, as the Menu key does; not
    // every platform makes a menu request of it.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        emit customContextMenuRequested(contentsRect().center());
        return;
    }
    QFrame::keyPressEvent(event);
}

void PlotPicture::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    emit pointerLeftPlot();
}

}  // namespace wienbridge
