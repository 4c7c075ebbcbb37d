#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QObject>
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
    LongRunDialog(const ProgressCounter& progress, QWidget* parent);
    ~LongRunDialog() override;

    // A run starts; watch it.
    void watch();
    // The run ended, however: the dialog goes.
    void stop();

signals:
    // "Annulla", Escape, or the dialog closed.
    void cancelRequested();

private:
    void look();

    const ProgressCounter& progress_;
    QWidget* parent_;
    QElapsedTimer clock_;
    QTimer timer_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace wienbridge
