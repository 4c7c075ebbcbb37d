#include "waveform/plot_picture.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include "plot/colours.h"

namespace wienbridge {
namespace {

constexpr int kBorderWidth = 2;
constexpr int kLastColumn = kPlotWidth - 1;
constexpr int kLastRow = kPlotHeight - 1;
// How far a drag must go to choose a window, and how near a cursor's line the
// pointer must be to take it, in logical pixels.
constexpr double kSmallestDrag = 3;
constexpr double kCursorReach = 3;

bool isTimeCursor(int cursor)
{
    return cursor < 2;
}

}  // namespace

PlotPicture::PlotPicture(QWidget* parent)
    : QFrame(parent), band_(new QRubberBand(QRubberBand::Rectangle, this))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
    QPalette background = palette();
    background.setColor(QPalette::Window, colours::plotBackground());
    setPalette(background);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

void PlotPicture::setPicture(const QImage& picture)
{
    const double ratio = devicePixelRatio();
    const QRect device = deviceInnerArea(ratio);
    const PlotGeometry geometry{device.width(), device.height(), lineWidthAt(ratio)};
    if (plot_.geometry() != geometry || plot_.image().devicePixelRatio() != ratio)
        plot_ = PlotImage(geometry, ratio);
    plot_.clear(picture);
    update();
}

// Where the inner area lies in the window's device pixels. Qt puts a logical
// edge at e on the device pixel edge nearest to e * ratio, halves up, so the
// area's size in device pixels depends on where it lies in the window and not
// only on its logical size: 901 pixels at x = 82 are 1576 device pixels at
// ratio 1.75, but would be 1577 at x = 81.
QRect PlotPicture::deviceInnerArea(double ratio) const
{
    const QRect inner = contentsRect().translated(mapTo(window(), QPoint()));
    const auto edge = [ratio](int logical) { return static_cast<int>(std::floor(logical * ratio + 0.5)); };
    return QRect(QPoint(edge(inner.left()), edge(inner.top())),
                 QPoint(edge(inner.right() + 1) - 1, edge(inner.bottom() + 1) - 1));
}

QSize PlotPicture::sizeHint() const
{
    return {kPlotWidth + 2 * kBorderWidth, kPlotHeight + 2 * kBorderWidth};
}

void PlotPicture::showCursors(bool shown)
{
    cursorsShown_ = shown;
    dragged_ = -1;
    update();
}

CursorPlaces PlotPicture::cursorPlaces() const
{
    const auto x = [](int column) { return column * 100.0 / kLastColumn; };
    const auto y = [](int row) { return 100 - row * 100.0 / kLastRow; };
    return {{x(cursors_[0]), x(cursors_[1])}, {y(cursors_[2]), y(cursors_[3])}};
}

QPoint PlotPicture::globalPosition(float x, float y) const
{
    const QPointF inner(x * kLastColumn / 100.0, (100 - y) * kLastRow / 100.0);
    return mapToGlobal((QPointF(contentsRect().topLeft()) + inner).toPoint());
}

void PlotPicture::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    // Drawn at its ratio, the image lands on the device pixels deviceInnerArea
    // names, one to one.
    painter.drawImage(contentsRect().topLeft(), plot_.image());
    if (cursorsShown_)
        paintCursors(painter);
}

void PlotPicture::paintCursors(QPainter& painter) const
{
    const QPoint origin = contentsRect().topLeft();
    const QString names[] = {QStringLiteral("t1"), QStringLiteral("t2"), QStringLiteral("v1"),
                             QStringLiteral("v2")};
    const int ascent = painter.fontMetrics().ascent();
    for (int cursor = 0; cursor < 4; ++cursor) {
        // The one the arrow keys move is drawn solid.
        QPen pen(colours::cursor(), lineWidthAt(devicePixelRatioF()),
                 cursor == picked_ ? Qt::SolidLine : Qt::DashLine);
        pen.setCosmetic(true);
        painter.setPen(pen);
        const int at = cursors_[static_cast<std::size_t>(cursor)];
        if (isTimeCursor(cursor)) {
            painter.drawLine(origin + QPoint(at, 0), origin + QPoint(at, kLastRow));
            painter.drawText(origin + QPoint(at + 3, ascent + 1), names[cursor]);
        } else {
            painter.drawLine(origin + QPoint(0, at), origin + QPoint(kLastColumn, at));
            // Above its line, or below it at the plot's top.
            painter.drawText(origin + QPoint(3, at > ascent + 3 ? at - 3 : at + ascent + 2), names[cursor]);
        }
    }
}

QPointF PlotPicture::devicePosition(QPointF position) const
{
    // Read on the image's pixels, where the plot was drawn: a logical position
    // p is at device position p * ratio, and the pixel there is the one whose
    // centre the readout takes, as at scale 1.
    const double ratio = plot_.image().devicePixelRatio();
    return (position + QPointF(mapTo(window(), QPoint()))) * ratio
           - QPointF(deviceInnerArea(ratio).topLeft());
}

UserPoint PlotPicture::userPoint(QPointF position) const
{
    const QPointF device = devicePosition(position);
    return plot_.geometry().toUser({device.x(), device.y()});
}

int PlotPicture::cursorNear(QPointF position) const
{
    const QPointF inner = position - QPointF(contentsRect().topLeft());
    int nearest = -1;
    double distance = kCursorReach;
    for (int cursor = 0; cursor < 4; ++cursor) {
        const double along = isTimeCursor(cursor) ? inner.x() : inner.y();
        const double away = std::fabs(along - cursors_[static_cast<std::size_t>(cursor)]);
        if (away <= distance) {
            nearest = cursor;
            distance = away;
        }
    }
    return nearest;
}

void PlotPicture::moveCursor(int cursor, int to)
{
    int& at = cursors_[static_cast<std::size_t>(cursor)];
    at = std::clamp(to, 0, isTimeCursor(cursor) ? kLastColumn : kLastRow);
    update();
    emit cursorsMoved();
}

void PlotPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (cursorsShown_ && (dragged_ = cursorNear(event->position())) >= 0) {
            picked_ = dragged_;
            update();
        } else if (zoomable_ && contentsRect().contains(event->position().toPoint())) {
            bandFrom_ = event->position().x();
        }
    }
    QFrame::mousePressEvent(event);
}

void PlotPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->position();
    if (dragged_ >= 0) {
        const QPointF inner = position - QPointF(contentsRect().topLeft());
        moveCursor(dragged_, static_cast<int>(std::lround(isTimeCursor(dragged_) ? inner.x() : inner.y())));
    } else if (bandFrom_ >= 0 && std::fabs(position.x() - bandFrom_) >= kSmallestDrag) {
        const QRect inner = contentsRect();
        const int to = std::clamp(static_cast<int>(std::lround(position.x())), inner.left(), inner.right());
        const int from = static_cast<int>(std::lround(bandFrom_));
        band_->setGeometry(
            QRect(QPoint(std::min(from, to), inner.top()), QPoint(std::max(from, to), inner.bottom())));
        band_->show();
    }
    // The border is not part of the plot: there is nothing to read there.
    if (!plot_.image().rect().contains(devicePosition(position).toPoint())) {
        emit pointerLeftPlot();
        return;
    }
    const UserPoint point = userPoint(position);
    emit pointerMoved(point.x, point.y);
}

void PlotPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragged_ = -1;
        if (band_->isVisible()) {
            band_->hide();
            const float from = userPoint({bandFrom_, 0}).x;
            const float to = userPoint(event->position()).x;
            emit spanSelected(std::clamp(std::min(from, to), 0.0F, 100.0F),
                              std::clamp(std::max(from, to), 0.0F, 100.0F));
        }
        bandFrom_ = -1;
    }
    QFrame::mouseReleaseEvent(event);
}

void PlotPicture::wheelEvent(QWheelEvent* event)
{
    if (!zoomable_) {
        QFrame::wheelEvent(event);
        return;
    }
    wheelAngle_ += event->angleDelta().y();
    const int notches = wheelAngle_ / 120;
    wheelAngle_ -= notches * 120;
    if (notches != 0)
        emit wheelTurned(userPoint(event->position()).x, notches);
    event->accept();
}

void PlotPicture::keyPressEvent(QKeyEvent* event)
{
    // Shift+F10 opens the menu from the keyboard, as the Menu key does; not
    // every platform makes a menu request of it.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        emit customContextMenuRequested(contentsRect().center());
        return;
    }
    const int key = event->key();
    const int step = key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1;
    if (key == Qt::Key_Home) {
        emit homePressed();
    } else if (cursorsShown_ && key == Qt::Key_C) {
        picked_ = (picked_ + 1) % 4;
        update();
        emit cursorsMoved();
    } else if (cursorsShown_ && (key == Qt::Key_Left || key == Qt::Key_Right) && isTimeCursor(picked_)) {
        moveCursor(picked_, cursors_[static_cast<std::size_t>(picked_)] + step);
    } else if (cursorsShown_ && (key == Qt::Key_Up || key == Qt::Key_Down) && !isTimeCursor(picked_)) {
        moveCursor(picked_, cursors_[static_cast<std::size_t>(picked_)] + step);
    } else if (!cursorsShown_ && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        emit readoutStepped(step);
    } else {
        QFrame::keyPressEvent(event);
    }
}

void PlotPicture::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    emit pointerLeftPlot();
}

}  // namespace wienbridge
