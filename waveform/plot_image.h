#pragma once

#include <span>

#include <QColor>
#include <QImage>

#include "plot_mapping.h"

namespace wienbridge {

// The plot's inner area as pixels: the pale-yellow background, a picture laid
// on it, and one-pixel lines drawn in user coordinates. The window shows it;
// the command line saves it.
class PlotImage {
public:
    explicit PlotImage(const PlotGeometry& geometry = {});

    const PlotGeometry& geometry() const { return geometry_; }
    const QImage& image() const { return image_; }

    // Erases everything: the background, with the picture (if any) at the top left.
    void clear(const QImage& picture = QImage());
    void drawLine(UserPoint from, UserPoint to, const QColor& colour);
    void drawPolyline(std::span<const UserPoint> points, const QColor& colour);

private:
    PlotGeometry geometry_;
    QImage image_;
};

}  // namespace wienbridge
