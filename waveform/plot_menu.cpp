#include "waveform/plot_menu.h"

namespace wienbridge {

PlotMenu::PlotMenu(QWidget* parent) : QMenu(parent)
{
    onTheRun_.append(addAction(QStringLiteral("Risultati…"), this, &PlotMenu::resultsChosen));
    onTheRun_.append(addAction(QStringLiteral("Andamento…"), this, &PlotMenu::sweepChosen));
    axisValues_ = addAction(QStringLiteral("Valori sugli assi"));
    axisValues_->setCheckable(true);
    connect(axisValues_, &QAction::toggled, this, &PlotMenu::axisValuesToggled);
    addSeparator();
    onTheRun_.append(addAction(QStringLiteral("Copia grafico"), this, &PlotMenu::copyChosen));
    onTheRun_.append(addAction(QStringLiteral("Salva grafico…"), this, &PlotMenu::saveChosen));
    onTheRun_.append(addAction(QStringLiteral("Esporta campioni…"), this, &PlotMenu::exportChosen));
    setRunAvailable(false);
}

void PlotMenu::setRunAvailable(bool available)
{
    for (QAction* action : onTheRun_)
        action->setEnabled(available);
}

bool PlotMenu::axisValuesShown() const
{
    return axisValues_->isChecked();
}

}  // namespace wienbridge
