#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>

#include "help/help_key.h"
#include "parameters/design_font.h"
#include "parameters/parameter_window.h"
#include "parameters/qt_translations.h"

namespace {

// With WIENBRIDGE_TIMING=avvio the program ends once the parameter window has
// been painted the first time, so that timing the whole process (see the
// README) measures how soon the program is ready for the user.
class QuitOncePainted final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // Quit once the paint has been handled and the window flushed to the screen.
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wienbridge"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The desktop entry's name, by which Wayland compositors give the window its icon.
    QApplication::setDesktopFileName(QStringLiteral("io.github.wienbridge.Wienbridge"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    const auto qtTexts = wienbridge::installQtTranslations();
    wienbridge::installDesignFontSubstitutes();

    wienbridge::HelpKey helpKey;
    app.installEventFilter(&helpKey);

    wienbridge::ParameterWindow parameters;
    QuitOncePainted quitOncePainted;
    if (qEnvironmentVariable("WIENBRIDGE_TIMING") == QLatin1String("avvio"))
        parameters.installEventFilter(&quitOncePainted);
    parameters.show();
    return app.exec();
}
