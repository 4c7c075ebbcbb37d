#pragma once

#include <QWidget>
#include <memory>

#include "parameters/ratio_presets.h"

class QRadioButton;

namespace wienbridge {

class ErrorReport;
class WaveformWindow;
class WindowRun;

namespace Ui {
class ParameterWindow;
}

// The parameter window Form1, the program's main window: the four input boxes,
// the ratio presets and the run button. Its controls keep their designed names
// as object names (Text1, Option1, Command1, ...). Closing it leaves an open
// waveform window open, with a run under way going on there: the program ends
// with its last window.
class ParameterWindow : public QWidget {
    Q_OBJECT

public:
    // Failures of the user's actions go to a message box over this window.
    explicit ParameterWindow(QWidget* parent = nullptr);
    // Failures go to the given report.
    explicit ParameterWindow(ErrorReport& errors, QWidget* parent = nullptr);
    ~ParameterWindow() override;

    // The waveform window if it is loaded, else null: there is none until the
    // first run, and none again once the user has closed it.
    WaveformWindow* waveformWindow() const;
    // Whether a run is computing; the run button and the presets wait for it.
    bool isRunning() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void runClicked();
    void optionClicked();
    // The user typed in the ratio box: the typed ratio is the one to use.
    void ratioEdited();

private:
    enum class RatioColour { Standard, Blue };

    ParameterWindow(ErrorReport* errors, QWidget* parent);

    // Applies the option's preset and checks it; false, after reporting why,
    // for a typed ratio that cannot be read.
    bool applyPreset(QRadioButton* option);
    void showRatioIn(RatioColour colour);

    std::unique_ptr<Ui::ParameterWindow> ui_;
    std::unique_ptr<ErrorReport> ownReport_;  // only when no report was given
    ErrorReport* errors_;
    std::unique_ptr<WindowRun> run_;
    QRadioButton* presetOption_ = nullptr;  // the option whose preset the ratio box holds
    bool optionPressedWithMouse_ = false;
};

}  // namespace wienbridge
