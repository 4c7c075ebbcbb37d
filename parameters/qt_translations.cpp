#include "parameters/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace wienbridge {

std::unique_ptr<QTranslator> installQtTranslations(const QLocale& locale)
{
#ifdef Q_OS_WIN
    // The program's folder is unzipped anywhere and Qt's own path points where Qt was built.
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
#else
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
        || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

}  // namespace wienbridge
