#include <QApplication>
#include <QIcon>

#include "design_font.h"
#include "form1.h"
#include "module_state.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wienbridge"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("wienbridge"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    wienbridge::installDesignFontSubstitutes();

    wienbridge::ModuleState state;
    wienbridge::Form1 form1(state);
    form1.show();
    return app.exec();
}
