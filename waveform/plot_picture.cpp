#include "plot_picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "colours.h"

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
    picture_ = picture;
    plot_.clear(picture_);
    update();
}

QColor PlotPicture::foregroundColour() const
{
    return palette().color(foregroundRole());
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
    painter.drawImage(contentsRect().topLeft(), plot_.image());
}

void PlotPicture::mouseMoveEvent(QMouseEvent* event)
{
    // The border is not part of the plot: there is nothing to read there.
    if (!contentsRect().contains(event->position().toPoint())) {
        emit pointerLeftPlot();
        return;
    }
    const QPointF inner = event->position() - QPointF(contentsRect().topLeft());
    const UserPoint point = plot_.geometry().toUser({inner.x(), inner.y()});
    emit pointerMoved(point.x, point.y);
}

void PlotPicture::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    emit pointerLeftPlot();
}

}  // namespace wienbridge
