#pragma once

#include <QString>

class QWidget;

namespace wienbridge {

// Asks where to save, suggesting `suggested` (say "grafico.png"): the path
// chosen, with the suggestion's suffix added when the name has none, or an
// empty string if the user cancelled.
QString askSavePath(QWidget* parent, const QString& title, const QString& suggested, const QString& filter);

}  // namespace wienbridge
