#pragma once

#include <QColor>

// The few colours the program names. Pure colours, independent of the palette.
namespace wienbridge::colours {

inline QColor black()
{
    return QColor(0, 0, 0);
}

inline QColor blue()
{
    return QColor(0, 0, 255);
}

inline QColor red()
{
    return QColor(255, 0, 0);
}

// The plot's pale yellow background.
inline QColor plotBackground()
{
    return QColor(255, 255, 192);
}

}  // namespace wienbridge::colours
