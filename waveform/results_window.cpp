#include "results_window.h"

#include <QLocale>

#include "locale_format.h"
#include "results_text.h"
#include "ui_results_window.h"

namespace wienbridge {

ResultsWindow::ResultsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::ResultsWindow>())
{
    ui->setupUi(this);
    QPalette warning = ui->warnings->palette();
    warning.setColor(QPalette::WindowText, QColor(160, 0, 0));
    ui->warnings->setPalette(warning);
    showRun(nullptr);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::showRun(const FinishedRun* run)
{
    const ResultsText text = resultsText(run, userDecimalSeparator());
    ui->idealFrequency->setText(text.idealFrequency);
    ui->measuredFrequency->setText(text.measuredFrequency);
    ui->circuitFrequency->setText(text.circuitFrequency);
    ui->regime->setText(text.regime);
    ui->measuredFactor->setText(text.measuredFactor);
    ui->circuitFactor->setText(text.circuitFactor);
    ui->openLoopGain->setText(text.openLoopGain);
    ui->stageGain->setText(text.stageGain);
    ui->gain->setText(text.gain);
    ui->step->setText(text.step);
    ui->stepOverCr->setText(text.stepOverCr);
    ui->sampleCount->setText(text.sampleCount);
    ui->peak->setText(text.peak);
    ui->warnings->setText(text.warnings.join(u'\n'));
    ui->warnings->setVisible(!text.warnings.isEmpty());
}

}  // namespace wienbridge
