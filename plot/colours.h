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

// A kept reference curve, behind the run's red one: a blue apart from the
// presets' pure blue, dark enough on the pale yellow.
inline QColor reference()
{
    return QColor(0, 110, 200);
}

// The cursors: a green that is neither curve's.
inline QColor cursor()
{
    return QColor(0, 130, 0);
}

// The plot's pale yellow background.
inline QColor plotBackground()
{
    return QColor(255, 255, 192);
}

}  // namespace wienbridge::colours
