#include "parameter_window.h"

#include <QCloseEvent>
#include <QPalette>
#include <QScopedValueRollback>
#include <limits>
#include <string>

#include "busy_cursor.h"
#include "colours.h"
#include "curve_reduction.h"
#include "design_font.h"
#include "error_report.h"
#include "failure_hints.h"
#include "oscillator_model.h"
#include "parameter_reading.h"
#include "run_in_progress.h"
#include "ui_parameter_window.h"
#include "waveform_window.h"

namespace wienbridge {

ParameterWindow::ParameterWindow(QWidget* parent)
    : ParameterWindow(static_cast<ErrorReport*>(nullptr), parent)
{
    ownReport_ = std::make_unique<MessageBoxErrorReport>(this);
    errors_ = ownReport_.get();
}

ParameterWindow::ParameterWindow(ErrorReport& errors, QWidget* parent) : ParameterWindow(&errors, parent) {}

ParameterWindow::ParameterWindow(ErrorReport* errors, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ParameterWindow>()), errors_(errors)
{
    ui_->setupUi(this);
    setFont(designFont());
    ui_->Text1->setFocus();
    // The boxes take text of any length; Qt's default would cut it at 32767 characters.
    for (QLineEdit* box : {ui_->Text1, ui_->Text2, ui_->Text3, ui_->Text4})
        box->setMaxLength(std::numeric_limits<int>::max());

    connect(ui_->Command1, &QPushButton::clicked, this, &ParameterWindow::runClicked);
    // A preset acts as soon as any mouse button goes down on its option button,
    // and when the keyboard selects the option (arrow keys, Space), so that the
    // checked option and the ratio box always agree.
    for (QRadioButton* option : {ui_->Option1, ui_->Option2, ui_->Option3, ui_->Option4}) {
        option->installEventFilter(this);
        connect(option, &QRadioButton::clicked, this, &ParameterWindow::optionClicked);
    }
}

ParameterWindow::~ParameterWindow()
{
    delete waveform_;
}

WaveformWindow* ParameterWindow::waveformWindow() const
{
    return waveform_;
}

bool ParameterWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        optionPressedWithMouse_ = true;
        applyPreset(watched);
    } else if (event->type() == QEvent::KeyPress) {
        optionPressedWithMouse_ = false;
    }
    return QWidget::eventFilter(watched, event);
}

void ParameterWindow::optionClicked()
{
    // A mouse click has applied its preset when the button went down.
    if (!optionPressedWithMouse_)
        applyPreset(sender());
}

void ParameterWindow::applyPreset(QObject* option)
{
    if (running_)
        return;
    const RatioPreset preset = option == ui_->Option2   ? RatioPreset::Two
                               : option == ui_->Option3 ? RatioPreset::Three
                               : option == ui_->Option4 ? RatioPreset::One
                                                        : RatioPreset::Typed;
    runReportingErrors(*errors_, [&] {
        const RatioBox box = applyRatioPreset(preset, ui_->Text4->text().toStdString());
        ui_->Text4->setText(QString::fromStdString(box.text));
        QPalette palette = ui_->Text4->palette();
        palette.setColor(QPalette::Text, box.blue ? colours::blue() : colours::black());
        ui_->Text4->setPalette(palette);
    });
}

void ParameterWindow::closeEvent(QCloseEvent* event)
{
    if (waveform_)
        waveform_->close();
    QWidget::closeEvent(event);
}

WaveformWindow& ParameterWindow::loadWaveformWindow()
{
    // Loaded unseen; the run shows it. The user may close it at any time,
    // which deletes it and clears the pointer.
    if (!waveform_)
        waveform_ = new WaveformWindow(*errors_);
    return *waveform_;
}

void ParameterWindow::runClicked()
{
    if (running_)
        return;
    const QScopedValueRollback<bool> running(running_, true);
    runReportingErrors(*errors_, [this] {
        const BusyCursor busy;
        WaveformWindow& waveform = loadWaveformWindow();
        waveform.wipePlot();
        const double ratio = readRatio(ui_->Text4->text().toStdString());
        waveform.showWindow();
        waveform.prepareAxes();

        const std::string timeConstant = ui_->Text1->text().toStdString();
        const std::string sampleCount = ui_->Text2->text().toStdString();
        const std::string crossover = ui_->Text3->text().toStdString();
        const RunInputs inputs = readRunInputs(ratio, {timeConstant, sampleCount, crossover});
        CurveReduction curve(waveform.plotGeometry());
        RunResult result;
        try {
            RunInProgress progress(this);
            result = simulate(inputs, curve, &progress);
        } catch (const RunCancelled&) {
            return;
        }
        explainingFailures(RunStage::Curve, inputs, result, [&] { waveform.drawCurve(curve, result.Peak); });
        waveform.keepReadout({inputs.CR, result.Peak});
    });
}

}  // namespace wienbridge
