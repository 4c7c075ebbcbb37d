#pragma once

#include <QMenu>

namespace wienbridge {

// The plot's context menu, in Italian. Every item but the axis values acts on
// the last finished run, so each is enabled only while there is one to act on.
class PlotMenu : public QMenu {
    Q_OBJECT

public:
    explicit PlotMenu(QWidget* parent);

    // Whether a finished run is shown with nothing computing.
    void setRunAvailable(bool available);
    bool axisValuesShown() const;

signals:
    void resultsChosen();
    void sweepChosen();
    void axisValuesToggled(bool shown);
    void copyChosen();
    void saveChosen();
    void exportChosen();

private:
    QList<QAction*> onTheRun_;
    QAction* axisValues_;
};

}  // namespace wienbridge
