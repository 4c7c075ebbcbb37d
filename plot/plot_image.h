#pragma once

#include <span>

#include <QColor>
#include <QImage>

#include "plot/plot_mapping.h"

namespace wienbridge {

// The plot's inner area as pixels: the pale-yellow background, a picture laid
// on it, and lines drawn in user coordinates. The window shows it; the command
// line saves it. Drawn for a screen of `devicePixelRatio`, the image says so,
// so that Qt shows it at its logical size, pixel for device pixel.
class PlotImage {
public:
    explicit PlotImage(const PlotGeometry& geometry = {}, double devicePixelRatio = 1.0);

    const PlotGeometry& geometry() const { return geometry_; }
    const QImage& image() const { return image_; }

    // Erases everything: the background, with the picture (if any) at the top
    // left, at its logical size.
    void clear(const QImage& picture = QImage());
    void drawLine(UserPoint from, UserPoint to, const QColor& colour);
    void drawPolyline(std::span<const UserPoint> points, const QColor& colour);

private:
    PlotGeometry geometry_;
    QImage image_;
};

}  // namespace wienbridge
