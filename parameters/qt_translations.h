#pragma once

#include <memory>

#include <QLocale>
#include <QTranslator>

namespace wienbridge {

// Installs Qt's own texts (its menus, dialogs and buttons) in the language of
// `locale`, so that they read as the user's desktop does while the program's
// own texts stay Italian. On Windows they come from "translations" beside the
// program, elsewhere from Qt's installed translations. Returns the installed
// translator, which removes itself when destroyed, or nothing when Qt has no
// texts in that language. Call once the application object exists.
std::unique_ptr<QTranslator> installQtTranslations(const QLocale& locale = QLocale());

}  // namespace wienbridge
