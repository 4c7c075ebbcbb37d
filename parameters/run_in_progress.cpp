#include "run_in_progress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressDialog>

namespace wienbridge {
namespace {

constexpr qint64 kQuietMilliseconds = 500;     // runs shorter than this show no dialog
constexpr qint64 kLookEveryMilliseconds = 40;  // how often the windows are served
constexpr std::int64_t kBlocksBetweenClockReads = 16;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

RunInProgress::RunInProgress(QWidget* window) : window_(window)
{
    clock_.start();
    qApp->installEventFilter(this);
}

RunInProgress::~RunInProgress()
{
    dialog_.reset();
    // Clicks and keys that came in during the run are dropped here, while the
    // filter still holds them back, instead of acting once the run is over.
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
}

bool RunInProgress::carryOn(std::int64_t samplesDone, std::int64_t samplesInAll)
{
    if (++blocks_ % kBlocksBetweenClockReads != 0)
        return true;
    const qint64 now = clock_.elapsed();
    if (now - lastLook_ < kLookEveryMilliseconds)
        return true;
    lastLook_ = now;
    if (!dialog_ && now >= kQuietMilliseconds) {
        dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("Calcolo in corso…"),
                                                    QStringLiteral("Annulla"), 0, 1000, window_);
        dialog_->setWindowTitle(QStringLiteral("Ponte di Wien"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->show();
    }
    if (dialog_)
        dialog_->setValue(static_cast<int>(samplesDone * 1000 / samplesInAll));
    QCoreApplication::processEvents();
    return !(dialog_ && dialog_->wasCanceled());
}

bool RunInProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (!isUserInput(event->type()) || !watched->isWidgetType())
        return false;
    const auto* widget = static_cast<QWidget*>(watched);
    if (dialog_ && (widget == dialog_.get() || dialog_->isAncestorOf(widget)))
        return false;
    event->ignore();
    return true;
}

}  // namespace wienbridge
