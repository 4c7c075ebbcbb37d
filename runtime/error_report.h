#pragma once

#include <string>
#include <vector>

#include "runtime_error.h"

class QWidget;

namespace wienbridge {

// Where a user action's failure goes. Each action (the run button, a preset, a
// pointer move) catches the RuntimeError once, at its handler, and reports it
// here; the program keeps running.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void report(const RuntimeError& error) = 0;
};

// The program's report: a modal message box, in Italian, over the given window,
// titled with the program's short name so that no window manager cuts it.
class MessageBoxErrorReport final : public ErrorReport {
public:
    explicit MessageBoxErrorReport(QWidget* parent = nullptr) : parent_(parent) {}
    void report(const RuntimeError& error) override;

private:
    QWidget* parent_;
};

// A report that only remembers, for tests: a modal box would block them.
class RecordingErrorReport final : public ErrorReport {
public:
    void report(const RuntimeError& error) override
    {
        kinds.push_back(error.kind());
        texts.push_back(error.fullText());
    }
    std::vector<ErrorKind> kinds;
    std::vector<std::string> texts;
};

// Runs one user action, reporting a RuntimeError instead of letting it escape.
// Returns whether the action completed.
template <class Action>
bool runReportingErrors(ErrorReport& report, Action&& action)
{
    try {
        action();
        return true;
    } catch (const RuntimeError& error) {
        report.report(error);
        return false;
    }
}

}  // namespace wienbridge
