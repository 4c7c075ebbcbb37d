#include "parameters/parameter_window.h"

#include <QApplication>
#include <QPalette>
#include <limits>

#include "parameters/design_font.h"
#include "parameters/window_run.h"
#include "plot/colours.h"
#include "ui_parameter_window.h"
#include "waveform/waveform_window.h"
#include "widget_helpers/error_report.h"

namespace wienbridge {

ParameterWindow::ParameterWindow(QWidget* parent)
    : ParameterWindow(static_cast<ErrorReport*>(nullptr), parent)
{
}

ParameterWindow::ParameterWindow(ErrorReport& errors, QWidget* parent) : ParameterWindow(&errors, parent) {}

ParameterWindow::ParameterWindow(ErrorReport* errors, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::ParameterWindow>()),
      ownReport_(errors ? nullptr : std::make_unique<MessageBoxErrorReport>(this)),
      errors_(errors ? errors : ownReport_.get())
{
    ui_->setupUi(this);
    run_ = std::make_unique<WindowRun>(*errors_, this);
    setFont(designFont());
    ui_->Text1->setFocus();
    // The boxes take text of any length; Qt's default would cut it at 32767 characters.
    for (QLineEdit* box : {ui_->Text1, ui_->Text2, ui_->Text3, ui_->Text4})
        box->setMaxLength(std::numeric_limits<int>::max());

    connect(ui_->Command1, &QPushButton::clicked, this, &ParameterWindow::runClicked);
    ui_->Command1->installEventFilter(this);
    // A preset acts as soon as any mouse button goes down on its option button,
    // and when the keyboard selects the option (arrow keys, Space), so that the
    // checked option and the ratio box always agree.
    for (QRadioButton* option : {ui_->Option1, ui_->Option2, ui_->Option3, ui_->Option4}) {
        option->installEventFilter(this);
        connect(option, &QRadioButton::clicked, this, &ParameterWindow::optionClicked);
    }
    presetOption_ = ui_->Option1;
    connect(ui_->Text4, &QLineEdit::textEdited, this, &ParameterWindow::ratioEdited);
}

ParameterWindow::~ParameterWindow() = default;

WaveformWindow* ParameterWindow::waveformWindow() const
{
    return run_ ? run_->waveformWindow() : nullptr;
}

bool ParameterWindow::isRunning() const
{
    return run_ && run_->isRunning();
}

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool ParameterWindow::eventFilter(QObject* watched, QEvent* event)
{
    // While a run computes, the run button and the presets take nothing: not a
    // click, nor the arrow keys that would move the checked option.
    if (isInput(event->type()) && isRunning())
        return true;
    auto* option = qobject_cast<QRadioButton*>(watched);
    if (!option)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        optionPressedWithMouse_ = true;
        // A preset that cannot be applied never reaches its option, which is
        // then neither checked nor drawn pressed.
        if (!applyPreset(option))
            return true;
    } else if (event->type() == QEvent::KeyPress) {
        optionPressedWithMouse_ = false;
    }
    return QWidget::eventFilter(watched, event);
}

void ParameterWindow::optionClicked()
{
    // A mouse click has applied its preset when the button went down.
    if (!optionPressedWithMouse_)
        applyPreset(static_cast<QRadioButton*>(sender()));
}

void ParameterWindow::ratioEdited()
{
    ui_->Option1->setChecked(true);
    presetOption_ = ui_->Option1;
    showRatioIn(RatioColour::Standard);
}

bool ParameterWindow::applyPreset(QRadioButton* option)
{
    const RatioPreset preset = option == ui_->Option2   ? RatioPreset::Two
                               : option == ui_->Option3 ? RatioPreset::Three
                               : option == ui_->Option4 ? RatioPreset::One
                                                        : RatioPreset::Typed;
    const bool applied = runReportingErrors(*errors_, [&] {
        const RatioBox box = applyRatioPreset(preset, ui_->Text4->text().toStdString());
        ui_->Text4->setText(QString::fromStdString(box.text));
        showRatioIn(box.blue ? RatioColour::Blue : RatioColour::Standard);
    });
    // The checked option names the ratio the next run uses: the one applied,
    // or, when the keyboard has checked one that failed, the one before.
    if (applied)
        presetOption_ = option;
    presetOption_->setChecked(true);
    return applied;
}

void ParameterWindow::showRatioIn(RatioColour colour)
{
    QPalette palette = ui_->Text4->palette();
    palette.setColor(QPalette::Text, colour == RatioColour::Blue
                                         ? colours::blue()
                                         : QApplication::palette(ui_->Text4).color(QPalette::Text));
    ui_->Text4->setPalette(palette);
}

void ParameterWindow::runClicked()
{
    run_->start({ui_->Text1->text().toStdString(), ui_->Text2->text().toStdString(),
                 ui_->Text3->text().toStdString(), ui_->Text4->text().toStdString()});
}

}  // namespace wienbridge
