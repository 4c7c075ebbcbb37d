#pragma once

#include <QColor>
#include <QImage>

namespace wienbridge::testing {

inline bool hasColour(const QImage& image, int x, int y, const QColor& colour)
{
    return image.pixel(x, y) == colour.rgb();
}

inline int countColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += hasColour(image, x, y, colour) ? 1 : 0;
    return count;
}

}  // namespace wienbridge::testing
