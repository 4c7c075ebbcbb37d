#include "help/help_key.h"

#include <QKeyEvent>
#include <QWidget>

#include "help/help_window.h"

namespace wienbridge {
namespace {

// The section of the help each window is about, by the window's object name.
QString sectionFor(const QWidget* window)
{
    const QString name = window->objectName();
    if (name == QLatin1String("Form1"))
        return QStringLiteral("caselle");
    if (name == QLatin1String("Form2"))
        return QStringLiteral("grafico");
    if (name == QLatin1String("ResultsWindow"))
        return QStringLiteral("risultati");
    if (name == QLatin1String("SweepWindow"))
        return QStringLiteral("andamento");
    return {};
}

}  // namespace

bool HelpKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1
        || static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (qobject_cast<HelpWindow*>(window))
        return true;  // already reading it
    HelpWindow::showSection(sectionFor(window), window);
    return true;
}

}  // namespace wienbridge
