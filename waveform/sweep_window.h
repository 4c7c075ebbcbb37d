#pragma once

#include <memory>
#include <vector>

#include <QWidget>

#include "run/background_sweep.h"
#include "simulation/finished_run.h"

namespace wienbridge {

class ErrorReport;

namespace Ui {
class SweepWindow;
}

// "Andamento": one input swept over a range, every point a whole run of the
// model with the other inputs of the last finished run, computed on every
// core while the windows go on answering; the points shown as they come, in
// two plots and a table, which exports as the command line's --sweep CSV.
// Closing the window stops its sweep.
class SweepWindow : public QWidget {
    Q_OBJECT

public:
    // errors: where an export that cannot be written is reported.
    explicit SweepWindow(ErrorReport& errors, QWidget* parent = nullptr);
    ~SweepWindow() override;

    // The run whose other inputs the next sweep keeps.
    void setBaseRun(const FinishedRun& run);
    bool isRunning() const { return sweep_.isRunning(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void inputChosen(int input);
    void calculate();
    void takePoints();
    void sweepEnded(bool complete);
    void exportTable();
    void copySelection();

private:
    void showOthers();
    void setRunning(bool running);

    std::unique_ptr<Ui::SweepWindow> ui;
    ErrorReport& errors_;
    BoxTexts others_;
    std::vector<std::string> othersRead_;  // each input as the base run read it, in the combo's order
    SweepRange range_;                     // of the points shown
    std::vector<SweepPoint> points_;
    BackgroundSweep sweep_;
};

}  // namespace wienbridge
