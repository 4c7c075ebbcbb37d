#pragma once

#include <string_view>

#include <QMenu>

#include "simulation/run_inputs.h"

namespace wienbridge {

// The text of the item that removes a kept reference, naming its inputs:
// "Togli riferimento (CR 159,2 µs, N 100, fc 3,000 MHz, R1/R2 2,000)".
QString referenceItemText(const RunInputs& inputs, std::string_view decimalSeparator);

// The plot's context menu, in Italian. Every item but the axis values and the
// cursors acts on the last finished run, so each is enabled only while there
// is one to act on.
class PlotMenu : public QMenu {
    Q_OBJECT

public:
    explicit PlotMenu(QWidget* parent);

    // Whether a finished run is shown, whether nothing computes, and whether
    // the run is shown zoomed.
    void setAvailable(bool runShown, bool idle, bool zoomed);
    // The item that removes the reference shows only while one is kept.
    void setReferenceText(const QString& text);
    bool axisValuesShown() const;
    bool cursorsShown() const;

signals:
    void resultsChosen();
    void sweepChosen();
    void axisValuesToggled(bool shown);
    void cursorsToggled(bool shown);
    void wholeViewChosen();
    void keepReferenceChosen();
    void dropReferenceChosen();
    void copyChosen();
    void saveChosen();
    void exportChosen();
    void helpChosen();
    void aboutChosen();

private:
    QList<QAction*> onTheRun_;
    QAction* axisValues_;
    QAction* cursors_;
    QAction* wholeView_;
    QAction* dropReference_;
};

}  // namespace wienbridge
