#pragma once

#include <QApplication>
#include <QCursor>

namespace wienbridge {

// Shows the busy pointer, an arrow with an hourglass, for as long as it lives:
// the windows still answer while a run computes.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace wienbridge
