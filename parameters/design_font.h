#pragma once

#include <QFont>

namespace wienbridge {

// The font every control of the parameter window is designed in:
// "MS Sans Serif", 8.25 points, bold; where that family is only Windows'
// bitmap font, "Microsoft Sans Serif", as Windows itself draws it.
QFont designFont();

// "MS Sans Serif" exists only on Windows. Elsewhere Qt would fall back to the
// system's default sans serif, whose wider letters push the longer captions
// past the bottom of their labels. This installs stand-ins narrow enough for
// every caption to fit its label as laid out. Call before any window opens.
void installDesignFontSubstitutes();

}  // namespace wienbridge
