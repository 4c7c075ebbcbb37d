#pragma once

#include "messages/failure_messages.h"

class QWidget;

namespace wienbridge {

// Where a user action's failure goes. Each action (the run button, a preset, a
// pointer move) catches the RuntimeError once, at its handler, and reports it
// here; the program keeps running.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    // Shown over `where`, the window where the failure happened, or the program's main one.
    virtual void report(const FailureMessage& failure, QWidget* where = nullptr) = 0;
};

// The program's report: a modal message box, in Italian, over the given window,
// titled with the program's short name so that no window manager cuts it.
class MessageBoxErrorReport final : public ErrorReport {
public:
    explicit MessageBoxErrorReport(QWidget* parent = nullptr) : parent_(parent) {}
    void report(const FailureMessage& failure, QWidget* where = nullptr) override;

private:
    QWidget* parent_;
};

// Runs one user action that reads or computes outside a run, reporting a
// RuntimeError instead of letting it escape. Returns whether it completed.
template <class Action>
bool runReportingErrors(ErrorReport& report, Action&& action)
{
    try {
        action();
        return true;
    } catch (const RuntimeError& error) {
        report.report(describeFailure(error, {}));
        return false;
    }
}

}  // namespace wienbridge
