#include <QApplication>
#include <QIcon>

#include "parameters/design_font.h"
#include "parameters/parameter_window.h"
#include "parameters/qt_translations.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wienbridge"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("wienbridge"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    const auto qtTexts = wienbridge::installQtTranslations();
    wienbridge::installDesignFontSubstitutes();

    wienbridge::ParameterWindow parameters;
    parameters.show();
    return app.exec();
}
