#include "parameters/long_run_dialog.h"

#include <QProgressDialog>

#include "run/progress_counter.h"

namespace wienbridge {
namespace {

constexpr qint64 kQuietMilliseconds = 500;
constexpr int kLookEveryMilliseconds = 50;
constexpr int kSteps = 1000;

}  // namespace

LongRunDialog::LongRunDialog()
{
    timer_.setInterval(kLookEveryMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &LongRunDialog::look);
}

LongRunDialog::~LongRunDialog() = default;

void LongRunDialog::watch(std::shared_ptr<const ProgressCounter> progress, QWidget* owner)
{
    progress_ = std::move(progress);
    owner_ = owner;
    clock_.start();
    timer_.start();
}

void LongRunDialog::stop()
{
    timer_.stop();
    delete dialog_;
    progress_.reset();
}

void LongRunDialog::look()
{
    const qint64 elapsed = clock_.elapsed();
    const std::int64_t done = progress_->done();
    const std::int64_t total = progress_->total();
    if (done <= 0 || total <= 0 || !owner_)
        return;
    if (!dialog_) {
        const double remaining = static_cast<double>(elapsed) * static_cast<double>(total - done) / done;
        if (elapsed < kQuietMilliseconds || remaining < kQuietMilliseconds)
            return;
        dialog_ = new QProgressDialog(QStringLiteral("Calcolo in corso…"), QStringLiteral("Annulla"), 0,
                                      kSteps, owner_);
        dialog_->setWindowTitle(QStringLiteral("Ponte di Wien"));
        // The windows stay usable meanwhile: they repaint, move and keep what is typed.
        dialog_->setWindowModality(Qt::NonModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        connect(dialog_, &QProgressDialog::canceled, this, &LongRunDialog::cancelRequested);
        dialog_->show();
    }
    dialog_->setValue(static_cast<int>(done * kSteps / total));
}

}  // namespace wienbridge
