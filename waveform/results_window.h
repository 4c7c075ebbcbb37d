#pragma once

#include <memory>

#include <QWidget>

#include "finished_run.h"

namespace wienbridge {

namespace Ui {
class ResultsWindow;
}

// "Risultati": what the last run means, beside the plot that does not say it.
// It follows every run while open; after a failed or cancelled one it shows "—".
class ResultsWindow : public QWidget {
    Q_OBJECT

public:
    explicit ResultsWindow(QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // The run to describe; null for none.
    void showRun(const FinishedRun* run);

private:
    std::unique_ptr<Ui::ResultsWindow> ui;
};

}  // namespace wienbridge
