#include "plot_picture.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "colours.h"
#include "line_raster.h"

namespace wienbridge {
namespace {

constexpr int kBorderWidth = 2;

PixelBuffer pixelsOf(QImage& image)
{
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, image.width(),
            image.height()};
}

// Not QImage::fill: some of Qt's fill code leaves the AVX registers' upper
// halves in use, which slows the SSE arithmetic of the run that follows.
void fillWithBackground(QImage& image)
{
    const PixelBuffer pixels = pixelsOf(image);
    const std::uint32_t background = colours::plotBackground().rgb();
    for (int row = 0; row < pixels.height; ++row) {
        std::uint32_t* line = pixels.pixels + row * pixels.stride;
        std::fill(line, line + pixels.width, background);
    }
}

}  // namespace

PlotPicture::PlotPicture(QWidget* parent)
    : QFrame(parent), drawing_(kPlotWidth, kPlotHeight, QImage::Format_RGB32)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
    QPalette background = palette();
    background.setColor(QPalette::Window, colours::plotBackground());
    setPalette(background);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setToolTip(QString());
    fillWithBackground(drawing_);
}

void PlotPicture::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    fillWithBackground(drawing_);
    if (!picture_.isNull()) {
        QPainter painter(&drawing_);
        painter.drawPixmap(0, 0, picture_);
    }
    update();
}

QPixmap PlotPicture::picture() const
{
    return picture_;
}

QColor PlotPicture::foregroundColour() const
{
    return palette().color(foregroundRole());
}

void PlotPicture::drawLine(UserPoint from, UserPoint to, const QColor& colour)
{
    strokeSegment(pixelsOf(drawing_), toDevice(from), toDevice(to), colour.rgb());
    update();
}

void PlotPicture::drawPolyline(std::span<const UserPoint> points, const QColor& colour)
{
    const PixelBuffer pixels = pixelsOf(drawing_);
    for (std::size_t i = 1; i < points.size(); ++i)
        strokeSegment(pixels, toDevice(points[i - 1]), toDevice(points[i]), colour.rgb());
    update();
}

QImage PlotPicture::drawing() const
{
    return drawing_;
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
    painter.drawImage(contentsRect().topLeft(), drawing_);
}

void PlotPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF inner = event->position() - QPointF(contentsRect().topLeft());
    const UserPoint point = toUser({inner.x(), inner.y()});
    emit pointerMoved(point.x, point.y);
}

}  // namespace wienbridge
