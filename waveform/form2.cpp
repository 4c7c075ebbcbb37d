#include "form2.h"

#include <QCursor>
#include <QToolTip>

#include "plot_drawing.h"
#include "plot_picture.h"
#include "readout.h"
#include "ui_form2.h"

namespace wienbridge {

Form2::Form2(const ModuleState& state, ErrorReport& errors, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::Form2>()), state_(state), errors_(errors)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // The pointer comes to the plot straight from the run button, with the
    // parameter window still active: the readout must show without a click here first.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    connect(ui->Picture1, &PlotPicture::pointerMoved, this, &Form2::showReadout);
}

Form2::~Form2() = default;

PlotPicture* Form2::picture1() const
{
    return ui->Picture1;
}

QWidget* Form2::picture2() const
{
    return ui->Picture2;
}

void Form2::wipePlot()
{
    ui->Picture1->setPicture(ui->Picture2->pixmap());
}

void Form2::showWindow()
{
    show();
    raise();
}

void Form2::prepareAxes()
{
    wienbridge::prepareAxes(*ui->Picture1);
}

void Form2::drawCurve(const ModuleState& state)
{
    wienbridge::drawCurve(*ui->Picture1, state);
}

void Form2::showReadout(float x, float y)
{
    runReportingErrors(errors_, [&] {
        const QString text = readoutText(state_, x, y).value_or(QString());
        ui->Picture1->setToolTip(text);
        // A tooltip already on screen would keep its old numbers until the
        // pointer rests again; rewrite it so that it follows the pointer.
        if (QToolTip::isVisible())
            QToolTip::showText(QCursor::pos(), text, ui->Picture1);
    });
}

}  // namespace wienbridge
