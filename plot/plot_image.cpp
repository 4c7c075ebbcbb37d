#include "plot/plot_image.h"

#include <QPainter>

#include "plot/colours.h"
#include "plot/line_raster.h"

namespace wienbridge {
namespace {

PixelBuffer pixelsOf(QImage& image)
{
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, image.width(),
            image.height()};
}

}  // namespace

PlotImage::PlotImage(const PlotGeometry& geometry, double devicePixelRatio)
    : geometry_(geometry), image_(geometry.width, geometry.height, QImage::Format_RGB32)
{
    image_.setDevicePixelRatio(devicePixelRatio);
    clear();
}

void PlotImage::clear(const QImage& picture)
{
    image_.fill(colours::plotBackground());
    if (!picture.isNull()) {
        QPainter painter(&image_);
        painter.drawImage(0, 0, picture);
    }
}

void PlotImage::drawLine(UserPoint from, UserPoint to, const QColor& colour)
{
    strokeSegment(pixelsOf(image_), geometry_.toDevice(from), geometry_.toDevice(to), colour.rgb(),
                  geometry_.lineWidth);
}

void PlotImage::drawPolyline(std::span<const UserPoint> points, const QColor& colour)
{
    const PixelBuffer pixels = pixelsOf(image_);
    for (std::size_t i = 1; i < points.size(); ++i)
        strokeSegment(pixels, geometry_.toDevice(points[i - 1]), geometry_.toDevice(points[i]), colour.rgb(),
                      geometry_.lineWidth);
}

}  // namespace wienbridge
