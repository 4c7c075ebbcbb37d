#pragma once

#include <cstdint>
#include <memory>

#include <QElapsedTimer>
#include <QObject>

#include "sample_observer.h"

class QProgressDialog;
class QWidget;

namespace wienbridge {

// Lives as long as a run computes. Meanwhile the windows keep repainting, but
// what the user does to them is held back: pressing the run button or a preset
// starts nothing and closing a window waits. A run that takes longer than half
// a second shows "Calcolo in corso…" with "Annulla", which stops it.
class RunInProgress final : public QObject, public RunProgress {
public:
    explicit RunInProgress(QWidget* window);
    ~RunInProgress() override;
    RunInProgress(const RunInProgress&) = delete;
    RunInProgress& operator=(const RunInProgress&) = delete;

    bool carryOn(std::int64_t samplesDone, std::int64_t samplesInAll) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QElapsedTimer clock_;
    std::int64_t blocks_ = 0;
    qint64 lastLook_ = 0;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace wienbridge
