#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "module_state.h"
#include "ratio_presets.h"

namespace wienbridge {

class ErrorReport;
class Form2;

namespace Ui {
class Form1;
}

// The parameter window: the four input boxes, the ratio presets and the run
// button. Its controls keep their designer names as object names (Text1,
// Option1, Command1, ...).
class Form1 : public QWidget {
    Q_OBJECT

public:
    // Failures of the user's actions go to a message box over this window.
    explicit Form1(ModuleState& state, QWidget* parent = nullptr);
    // Failures go to the given report.
    Form1(ModuleState& state, ErrorReport& errors, QWidget* parent = nullptr);
    ~Form1() override;

    // The waveform window if it is loaded, else null: there is none until the
    // first run, and none again once the user has closed it.
    Form2* form2() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1(ModuleState& state, ErrorReport* errors, QWidget* parent);

    void runClicked();
    void presetPressed(RatioPreset preset);
    Form2& loadForm2();

    std::unique_ptr<Ui::Form1> ui_;
    ModuleState& state_;
    std::unique_ptr<ErrorReport> ownReport_;  // only when no report was given
    ErrorReport* errors_;
    QPointer<Form2> form2_;
};

}  // namespace wienbridge
