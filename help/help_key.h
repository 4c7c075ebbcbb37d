#pragma once

#include <QObject>

namespace wienbridge {

// F1 in any of the program's windows opens "Guida" at what that window is
// about: the boxes for the parameter window, the plot and its menu for the
// waveform window, and so on. Installed once, on the application.
class HelpKey final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace wienbridge
