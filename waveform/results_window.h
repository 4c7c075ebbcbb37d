#pragma once

#include <memory>
#include <vector>

#include <QWidget>

#include "simulation/finished_run.h"

class QLabel;

namespace wienbridge {

namespace Ui {
class ResultsWindow;
}

// "Risultati": what the last run means, beside the plot that does not say it:
// the inputs as read, then a row per quantity with a column for what the
// samples measured and one for each way of working the circuit out, what the
// model leaves out, and the warnings. It follows every run while open; after a
// failed or cancelled one it shows "—". Each value is read by screen readers as
// "row, column: value".
class ResultsWindow : public QWidget {
    Q_OBJECT

public:
    explicit ResultsWindow(QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // The run to describe; null for none.
    void showRun(const FinishedRun* run);

private:
    std::unique_ptr<Ui::ResultsWindow> ui;
    std::vector<QLabel*> values_;  // in the order the texts list them, built with the first run shown
};

}  // namespace wienbridge
