#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QProgressDialog;
class QWidget;

namespace wienbridge {

class ProgressCounter;

// "Calcolo in corso…" with "Annulla", for runs long enough to need it: it
// appears only when, half a second into a run, the run is expected to go on
// for another half second at least, so that no short run flashes it. It
// watches the run's progress from the window's thread, on a timer.
class LongRunDialog : public QObject {
    Q_OBJECT

public:
    LongRunDialog();
    ~LongRunDialog() override;

    // A run starts, counted by `progress`; the dialog, if it comes, belongs to
    // `owner` and goes with it.
    void watch(std::shared_ptr<const ProgressCounter> progress, QWidget* owner);
    // The run ended, however: the dialog goes.
    void stop();

signals:
    // "Annulla", Escape, or the dialog closed.
    void cancelRequested();

private:
    void look();

    std::shared_ptr<const ProgressCounter> progress_;
    QPointer<QWidget> owner_;
    QElapsedTimer clock_;
    QTimer timer_;
    QPointer<QProgressDialog> dialog_;
};

}  // namespace wienbridge
