#include "waveform/waveform_window.h"

#include <QAccessible>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include "help/help_window.h"
#include "plot/plot_drawing.h"
#include "run/whole_file.h"
#include "ui_waveform_window.h"
#include "waveform/plot_picture.h"
#include "waveform/readout.h"
#include "widget_helpers/error_report.h"
#include "widget_helpers/locale_format.h"
#include "widget_helpers/save_path.h"

namespace wienbridge {
namespace {

// How much one notch of the wheel zooms in (or out): by halves, exactly.
constexpr double kWheelNotch = 0.5;

}  // namespace

WaveformWindow::WaveformWindow(ErrorReport& errors, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WaveformWindow>()), errors_(errors)
{
    ui->setupUi(this);
    // Closed, it goes with its drawing; as the last window open, it ends the program.
    setAttribute(Qt::WA_DeleteOnClose);
    // The pointer comes to the plot straight from the run button, with the
    // parameter window still active: the readout must show without a click here first.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    PlotPicture* plot = ui->Picture1;
    connect(plot, &PlotPicture::pointerMoved, this, &WaveformWindow::pointerMovedOverPlot);
    connect(plot, &PlotPicture::pointerLeftPlot, this, &WaveformWindow::pointerLeftPlot);
    connect(plot, &PlotPicture::spanSelected, this, &WaveformWindow::spanSelected);
    connect(plot, &PlotPicture::wheelTurned, this, &WaveformWindow::wheelTurned);
    connect(plot, &PlotPicture::homePressed, this, &WaveformWindow::wholeViewChosen);
    connect(plot, &PlotPicture::readoutStepped, this, &WaveformWindow::stepReadout);
    connect(plot, &PlotPicture::cursorsMoved, this, &WaveformWindow::cursorsMoved);

    menu_ = new PlotMenu(this);
    connect(plot, &QWidget::customContextMenuRequested, this, &WaveformWindow::plotMenuRequested);
    connect(menu_, &PlotMenu::resultsChosen, this, &WaveformWindow::showResults);
    connect(menu_, &PlotMenu::sweepChosen, this, &WaveformWindow::showSweep);
    connect(menu_, &PlotMenu::axisValuesToggled, this, qOverload<>(&QWidget::update));
    connect(menu_, &PlotMenu::cursorsToggled, plot, &PlotPicture::showCursors);
    connect(menu_, &PlotMenu::cursorsToggled, this, &WaveformWindow::cursorsMoved);
    connect(menu_, &PlotMenu::wholeViewChosen, this, &WaveformWindow::wholeViewChosen);
    connect(menu_, &PlotMenu::keepReferenceChosen, this, &WaveformWindow::keepReference);
    connect(menu_, &PlotMenu::dropReferenceChosen, this, &WaveformWindow::dropReference);
    connect(menu_, &PlotMenu::copyChosen, this, &WaveformWindow::copyPlot);
    connect(menu_, &PlotMenu::saveChosen, this, &WaveformWindow::savePlot);
    connect(menu_, &PlotMenu::exportChosen, this, &WaveformWindow::chooseExportFile);
    connect(menu_, &PlotMenu::helpChosen, this,
            [this] { HelpWindow::showSection(QStringLiteral("grafico"), this); });
    connect(menu_, &PlotMenu::aboutChosen, this, [this] { showAbout(this); });
}

WaveformWindow::~WaveformWindow() = default;

PlotPicture* WaveformWindow::plot() const
{
    return ui->Picture1;
}

void WaveformWindow::beginRun()
{
    lastRun_.reset();
    curves_ = {};
    lastRunChanged();
    setReadout(QString());
    ui->Picture1->setPicture(ui->Picture2->pixmap().toImage());
}

void WaveformWindow::showWindow()
{
    show();
    raise();
}

PlotImage& WaveformWindow::plotImage()
{
    return ui->Picture1->plot();
}

void WaveformWindow::plotChanged()
{
    ui->Picture1->showDrawing();
}

void WaveformWindow::clearPlot()
{
    ui->Picture1->setPicture(ui->Picture2->pixmap().toImage());
    prepareAxes(plotImage());
}

void WaveformWindow::showRun(std::shared_ptr<const FinishedRun> run, const ViewCurves& curves)
{
    // What was drawn shows, even when the curve stops at a sample it cannot place.
    struct Shown {
        WaveformWindow* window;
        ~Shown() { window->plotChanged(); }
    } shown{this};
    drawCurves(plotImage(), curves, curves.peak(run->result.Peak));
    lastRun_ = std::move(run);
    keepCurves(curves);
    lastRunChanged();
}

void WaveformWindow::showView(const ViewCurves& curves)
{
    if (!lastRun_)
        return;
    clearPlot();
    drawCurves(plotImage(), curves, curves.peak(lastRun_->result.Peak));
    plotChanged();
    keepCurves(curves);
    lastRunChanged();
}

void WaveformWindow::keepCurves(const ViewCurves& curves)
{
    curves_ = curves;
    peak_ = curves_.peak(lastRun_->result.Peak);
    axisValues_ = axisValues(scale(), userDecimalSeparator());
    readoutColumn_ = -1;
}

PlotScale WaveformWindow::scale() const
{
    return {lastRun_->inputs.CR, peak_, curves_.window};
}

void WaveformWindow::lastRunChanged()
{
    updateMenu();
    update();  // the axis values and the cursors' readings, if shown
    if (results_)
        results_->showRun(lastRun_.get());
    if (sweep_ && lastRun_)
        sweep_->setBaseRun(*lastRun_);
}

void WaveformWindow::showResults()
{
    if (!results_)
        results_ = new ResultsWindow(this);
    results_->showRun(lastRun_.get());
    results_->show();
    results_->raise();
    results_->activateWindow();
}

void WaveformWindow::showSweep()
{
    if (!sweep_)
        sweep_ = new SweepWindow(errors_, this);
    if (lastRun_)
        sweep_->setBaseRun(*lastRun_);
    sweep_->show();
    sweep_->raise();
    sweep_->activateWindow();
}

QRect WaveformWindow::plotArea() const
{
    return ui->Picture1->contentsRect().translated(ui->Picture1->pos());
}

void WaveformWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!lastRun_)
        return;
    QPainter painter(this);
    paintMargins(painter);
}

void WaveformWindow::paintMargins(QPainter& painter) const
{
    if (menu_->axisValuesShown())
        paintAxisValues(painter, axisValues_, plotArea(), rect());
    if (!ui->Picture1->cursorsShown())
        return;
    const auto readings = cursorReadings(scale(), ui->Picture1->cursorPlaces(), userDecimalSeparator());
    const QString line = QStringList(readings.begin(), readings.end()).join(QStringLiteral("    "));
    // At the window's foot, under the axis values, made smaller should the
    // line not fit the window's width.
    constexpr int kMargin = 8;
    const int width = rect().width() - 2 * kMargin;
    const QFont font = fontToFit(line, width, painter.font(), kSmallestReadablePixels);
    const QFontMetrics metrics(font);
    const QRect box(kMargin, rect().bottom() - metrics.height() - 2, width, metrics.height());
    const QFont before = painter.font();
    painter.setFont(font);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, line);
    painter.setFont(before);
}

void WaveformWindow::setRunInProgress(bool running)
{
    running_ = running;
    updateMenu();
}

void WaveformWindow::updateMenu()
{
    menu_->setAvailable(lastRun_ != nullptr, !running_, !curves_.window.whole());
    menu_->setReferenceText(reference_ ? referenceItemText(reference_->inputs, userDecimalSeparator())
                                       : QString());
    ui->Picture1->setZoomable(lastRun_ && !running_);
}

void WaveformWindow::plotMenuRequested(const QPoint& where)
{
    // Where the platform also makes a request of Shift+F10, the second finds the menu open.
    if (!menu_->isVisible())
        menu_->popup(ui->Picture1->mapToGlobal(where));
}

QImage WaveformWindow::plotPicture() const
{
    if ((!menu_->axisValuesShown() && !ui->Picture1->cursorsShown()) || !lastRun_)
        return ui->Picture1->drawing();
    // The plot in its labelled margins as the window shows them, without the
    // window's other box.
    const qreal ratio = ui->Picture1->drawing().devicePixelRatio();
    QImage picture(size() * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(palette().color(QPalette::Window));
    QPainter painter(&picture);
    ui->Picture1->render(&painter, ui->Picture1->pos());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    paintMargins(painter);
    return picture;
}

void WaveformWindow::copyPlot()
{
    QGuiApplication::clipboard()->setImage(plotPicture());
}

void WaveformWindow::savePlot()
{
    const QString path = askSavePath(this, QStringLiteral("Salva grafico"), QStringLiteral("grafico.png"),
                                     QStringLiteral("Immagini PNG (*.png)"));
    if (path.isEmpty())
        return;
    const QImage picture = plotPicture();
    if (!writeWholeFile(path, [&](QIODevice& file) { return picture.save(&file, "PNG"); }))
        errors_.report(plotNotSaved(path.toStdString()), this);
}

void WaveformWindow::chooseExportFile()
{
    const QString path = askSavePath(this, QStringLiteral("Esporta campioni"), QStringLiteral("campioni.csv"),
                                     QStringLiteral("File CSV (*.csv)"));
    if (path.isEmpty() || !lastRun_)
        return;
    emit exportRequested(lastRun_->inputs, path, curves_.curve->firstInside(), curves_.curve->lastInside());
}

void WaveformWindow::requestWindow(const TimeWindow& window)
{
    if (lastRun_ && !running_ && !(window == curves_.window))
        emit windowRequested(window);
}

void WaveformWindow::spanSelected(float x0, float x1)
{
    if (lastRun_)
        requestWindow(
            windowBetween(curves_.window.toRun(x0), curves_.window.toRun(x1), lastRun_->result.Samples));
}

void WaveformWindow::wheelTurned(float x, int notches)
{
    if (!lastRun_)
        return;
    // The time under the pointer stays there.
    const TimeWindow& window = curves_.window;
    double span = window.end - window.start;
    for (int notch = 0; notch < std::abs(notches); ++notch)
        span = notches > 0 ? span * kWheelNotch : span / kWheelNotch;
    const double start = window.toRun(x) - x / 100.0 * span;
    requestWindow(windowBetween(start, start + span, lastRun_->result.Samples));
}

void WaveformWindow::wholeViewChosen()
{
    requestWindow({});
}

void WaveformWindow::keepReference()
{
    if (!lastRun_)
        return;
    reference_ = Reference{lastRun_->inputs, lastRun_->result.Samples};
    // The same samples on the same axes: drawn behind the run's, it would
    // light only pixels the run's curve covers, so nothing is drawn again.
    curves_.reference = curves_.curve;
    updateMenu();
}

void WaveformWindow::dropReference()
{
    reference_.reset();
    if (!lastRun_ || !curves_.reference) {
        updateMenu();
        return;
    }
    ViewCurves without = curves_;
    without.reference.reset();
    showView(without);
}

void WaveformWindow::stepReadout(int step)
{
    if (!lastRun_ || !curves_.values)
        return;
    const ColumnValues& values = *curves_.values;
    int column = readoutColumn_;
    if (column < 0) {
        // The first press starts at the end of the curve the key points away from.
        column = step > 0 ? 0 : ColumnValues::kColumns - 1;
        while (column >= 0 && column < ColumnValues::kColumns && !values.at(column))
            column += step;
    } else if (values.at(column + step)) {
        column += step;
    }
    const std::optional<double> value = values.at(column);
    if (!value)
        return;
    readoutColumn_ = column;
    const float x = ColumnValues::x(column);
    runReportingErrors(errors_, [&] {
        const QString text = readoutText(scale().seconds(x), *value);
        ui->Picture1->setToolTip(text);
        ui->Picture1->setAccessibleDescription(text);
        QToolTip::showText(ui->Picture1->globalPosition(x, curveY(*value, peak_)), text, ui->Picture1);
    });
}

void WaveformWindow::cursorsMoved()
{
    update();
    if (!lastRun_ || !ui->Picture1->cursorsShown())
        return;
    const auto readings = cursorReadings(scale(), ui->Picture1->cursorPlaces(), userDecimalSeparator());
    ui->Picture1->setAccessibleDescription(
        QStringList(readings.begin(), readings.end()).join(QStringLiteral(", ")));
}

void WaveformWindow::pointerMovedOverPlot(float x, float y)
{
    if (!lastRun_) {
        setReadout(QString());
        return;
    }
    runReportingErrors(errors_, [&] { setReadout(readoutText(scale(), x, y)); });
}

void WaveformWindow::pointerLeftPlot()
{
    setReadout(QString());
}

void WaveformWindow::setReadout(const QString& text)
{
    ui->Picture1->setToolTip(text);
    ui->Picture1->setAccessibleDescription(text);
    // A tooltip already on screen would keep its old numbers until the pointer
    // rests again; rewrite it so that it follows the pointer.
    if (QToolTip::isVisible())
        QToolTip::showText(QCursor::pos(), text, ui->Picture1);
}

}  // namespace wienbridge
