#include "waveform/plot_menu.h"

#include <string>

#include "runtime/number_format.h"

namespace wienbridge {

QString referenceItemText(const RunInputs& inputs, std::string_view separator)
{
    const std::string text = "Togli riferimento (CR " + formatEngineering(inputs.CR, "s", separator) + ", N "
                             + std::to_string(inputs.N) + ", fc "
                             + formatEngineering(inputs.Fc * 1000000, "Hz", separator) + ", R1/R2 "
                             + formatSignificant(inputs.Ratio, separator) + ")";
    return QString::fromStdString(text);
}

PlotMenu::PlotMenu(QWidget* parent) : QMenu(parent)
{
    onTheRun_.append(addAction(QStringLiteral("Risultati…"), this, &PlotMenu::resultsChosen));
    onTheRun_.append(addAction(QStringLiteral("Andamento…"), this, &PlotMenu::sweepChosen));
    axisValues_ = addAction(QStringLiteral("Valori sugli assi"));
    axisValues_->setCheckable(true);
    connect(axisValues_, &QAction::toggled, this, &PlotMenu::axisValuesToggled);
    cursors_ = addAction(QStringLiteral("Cursori"));
    cursors_->setCheckable(true);
    connect(cursors_, &QAction::toggled, this, &PlotMenu::cursorsToggled);
    addSeparator();
    wholeView_ = addAction(QStringLiteral("Vista intera"), this, &PlotMenu::wholeViewChosen);
    onTheRun_.append(
        addAction(QStringLiteral("Mantieni come riferimento"), this, &PlotMenu::keepReferenceChosen));
    dropReference_ = addAction(QString(), this, &PlotMenu::dropReferenceChosen);
    dropReference_->setVisible(false);
    addSeparator();
    onTheRun_.append(addAction(QStringLiteral("Copia grafico"), this, &PlotMenu::copyChosen));
    onTheRun_.append(addAction(QStringLiteral("Salva grafico…"), this, &PlotMenu::saveChosen));
    onTheRun_.append(addAction(QStringLiteral("Esporta campioni…"), this, &PlotMenu::exportChosen));
    addSeparator();
    QAction* help = addAction(QStringLiteral("Guida"), this, &PlotMenu::helpChosen);
    help->setShortcut(QKeySequence::HelpContents);  // shown beside it; F1 itself works in every window
    addAction(QStringLiteral("Informazioni su…"), this, &PlotMenu::aboutChosen);
    setAvailable(false, true, false);
}

void PlotMenu::setAvailable(bool runShown, bool idle, bool zoomed)
{
    for (QAction* action : onTheRun_)
        action->setEnabled(runShown && idle);
    wholeView_->setEnabled(runShown && idle && zoomed);
    dropReference_->setEnabled(idle);
}

void PlotMenu::setReferenceText(const QString& text)
{
    dropReference_->setText(text);
    dropReference_->setVisible(!text.isEmpty());
}

bool PlotMenu::axisValuesShown() const
{
    return axisValues_->isChecked();
}

bool PlotMenu::cursorsShown() const
{
    return cursors_->isChecked();
}

}  // namespace wienbridge
