#pragma once

#include <QApplication>
#include <QCursor>

namespace wienbridge {

// Shows the busy pointer for as long as it lives, so that a run shows it until
// it ends, however it ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace wienbridge
