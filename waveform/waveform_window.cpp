#include "waveform/waveform_window.h"

#include <QClipboard>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include "run/whole_file.h"
#include "ui_waveform_window.h"
#include "waveform/plot_picture.h"
#include "waveform/readout.h"
#include "widget_helpers/error_report.h"
#include "widget_helpers/locale_format.h"

namespace wienbridge {

WaveformWindow::WaveformWindow(ErrorReport& errors, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WaveformWindow>()), errors_(errors)
{
    ui->setupUi(this);
    // Closed, it goes with its drawing; as the last window open, it ends the program.
    setAttribute(Qt::WA_DeleteOnClose);
    // The pointer comes to the plot straight from the run button, with the
    // parameter window still active: the readout must show without a click here first.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    connect(ui->Picture1, &PlotPicture::pointerMoved, this, &WaveformWindow::pointerMovedOverPlot);
    connect(ui->Picture1, &PlotPicture::pointerLeftPlot, this, &WaveformWindow::pointerLeftPlot);

    menu_ = new PlotMenu(this);
    connect(ui->Picture1, &QWidget::customContextMenuRequested, this, &WaveformWindow::plotMenuRequested);
    connect(menu_, &PlotMenu::resultsChosen, this, &WaveformWindow::showResults);
    connect(menu_, &PlotMenu::axisValuesToggled, this, qOverload<>(&QWidget::update));
    connect(menu_, &PlotMenu::copyChosen, this, &WaveformWindow::copyPlot);
    connect(menu_, &PlotMenu::saveChosen, this, &WaveformWindow::savePlot);
    connect(menu_, &PlotMenu::exportChosen, this, &WaveformWindow::chooseExportFile);
}

WaveformWindow::~WaveformWindow() = default;

PlotPicture* WaveformWindow::plot() const
{
    return ui->Picture1;
}

void WaveformWindow::beginRun()
{
    lastRun_.reset();
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

void WaveformWindow::showRun(std::shared_ptr<const FinishedRun> run)
{
    lastRun_ = std::move(run);
    axisValues_ = axisValues({lastRun_->inputs.CR, lastRun_->result.Peak, {}}, userDecimalSeparator());
    lastRunChanged();
}

void WaveformWindow::lastRunChanged()
{
    updateMenu();
    update();  // the axis values, if shown
    if (results_)
        results_->showRun(lastRun_.get());
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

QRect WaveformWindow::plotArea() const
{
    return ui->Picture1->contentsRect().translated(ui->Picture1->pos());
}

void WaveformWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!menu_->axisValuesShown() || !lastRun_)
        return;
    QPainter painter(this);
    paintAxisValues(painter, axisValues_, plotArea(), rect());
}

void WaveformWindow::setRunInProgress(bool running)
{
    running_ = running;
    updateMenu();
}

void WaveformWindow::updateMenu()
{
    menu_->setRunAvailable(lastRun_ && !running_);
}

void WaveformWindow::plotMenuRequested(const QPoint& where)
{
    // Where the platform also makes a request of Shift+F10, the second finds the menu open.
    if (!menu_->isVisible())
        menu_->popup(ui->Picture1->mapToGlobal(where));
}

QImage WaveformWindow::plotPicture() const
{
    if (!menu_->axisValuesShown() || !lastRun_)
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
    paintAxisValues(painter, axisValues_, plotArea(), rect());
    return picture;
}

void WaveformWindow::copyPlot()
{
    QGuiApplication::clipboard()->setImage(plotPicture());
}

void WaveformWindow::savePlot()
{
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Salva grafico"), QStringLiteral("grafico.png"),
                                     QStringLiteral("Immagini PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    const QImage picture = plotPicture();
    if (!writeWholeFile(path, [&](QIODevice& file) { return picture.save(&file, "PNG"); }))
        errors_.report(plotNotSaved(path.toStdString()), this);
}

void WaveformWindow::chooseExportFile()
{
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Esporta campioni"), QStringLiteral("campioni.csv"),
                                     QStringLiteral("File CSV (*.csv)"));
    if (path.isEmpty() || !lastRun_)
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    emit exportRequested(lastRun_->inputs, path);
}

void WaveformWindow::pointerMovedOverPlot(float x, float y)
{
    if (!lastRun_) {
        setReadout(QString());
        return;
    }
    const ReadoutScale scale{lastRun_->inputs.CR, lastRun_->result.Peak};
    runReportingErrors(errors_, [&] { setReadout(readoutText(scale, x, y)); });
}

void WaveformWindow::pointerLeftPlot()
{
    setReadout(QString());
}

void WaveformWindow::setReadout(const QString& text)
{
    ui->Picture1->setToolTip(text);
    // A tooltip already on screen would keep its old numbers until the pointer
    // rests again; rewrite it so that it follows the pointer.
    if (QToolTip::isVisible())
        QToolTip::showText(QCursor::pos(), text, ui->Picture1);
}

}  // namespace wienbridge
