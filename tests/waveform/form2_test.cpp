#include "form2.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "colours.h"
#include "plot_drawing.h"
#include "plot_picture.h"
#include "waveform_test_support.h"

namespace wienbridge {
namespace {

using testing::completedRun;
using testing::countColour;

class Form2Test : public ::testing::Test {
protected:
    Form2Test() : form(new Form2(state, errors)) {}
    ~Form2Test() override
    {
        delete form;
        QLocale::setDefault(QLocale::c());
    }

    void drawDefaultRun()
    {
        state = completedRun("2");
        form->wipePlot();
        form->prepareAxes();
        form->drawCurve(state);
    }

    // Picture1 as it shows on screen, inside its border.
    QImage innerArea() const
    {
        PlotPicture* picture = form->picture1();
        return picture->grab(picture->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
    }

    void showAndWait()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }

    ModuleState state;
    RecordingErrorReport errors;
    QPointer<Form2> form;
};

TEST_F(Form2Test, LayoutIsFixedAtDesign)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Forma d'onda in uscita"));
    EXPECT_EQ(form->size(), QSize(994, 562));
    EXPECT_TRUE(form->testAttribute(Qt::WA_DeleteOnClose));

    PlotPicture* picture1 = form->picture1();
    EXPECT_EQ(picture1->objectName(), QStringLiteral("Picture1"));
    EXPECT_EQ(picture1->geometry(), QRect(80, 8, 905, 505));
    EXPECT_EQ(picture1->contentsRect().size(), QSize(kPlotWidth, kPlotHeight));
    EXPECT_TRUE(picture1->toolTip().isEmpty());
    EXPECT_TRUE(picture1->picture().isNull());

    EXPECT_EQ(form->picture2()->objectName(), QStringLiteral("Picture2"));
    EXPECT_EQ(form->picture2()->geometry(), QRect(16, 432, 33, 17));
    EXPECT_EQ(picture1->nextInFocusChain(), form->picture2());

    form->resize(600, 300);
    EXPECT_EQ(picture1->geometry(), QRect(80, 8, 905, 505));
}

TEST_F(Form2Test, WipeLeavesPlainPaleYellow)
{
    drawDefaultRun();
    form->wipePlot();
    EXPECT_EQ(countColour(form->picture1()->drawing(), colours::plotBackground()), kPlotWidth * kPlotHeight);
    EXPECT_EQ(countColour(innerArea(), colours::plotBackground()), kPlotWidth * kPlotHeight);
}

TEST_F(Form2Test, PlotSurvivesRepaintHidingAndResizing)
{
    showAndWait();
    drawDefaultRun();
    const QImage drawn = innerArea();
    EXPECT_EQ(drawn, form->picture1()->drawing());
    EXPECT_GT(countColour(drawn, colours::red()), 2 * kPlotWidth);

    form->repaint();
    EXPECT_EQ(innerArea(), drawn);
    form->hide();
    showAndWait();
    EXPECT_EQ(innerArea(), drawn);
    form->resize(300, 200);
    QApplication::processEvents();
    form->resize(994, 562);
    QApplication::processEvents();
    EXPECT_EQ(innerArea(), drawn);
}

TEST_F(Form2Test, PointerMoveOverThePlotSetsItsTooltip)
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    state.CR = 159.15e-6;
    state.Peak = 3;
    state.lastRunCompleted = true;
    showAndWait();

    // Inner pixel (18, 190) is x = 2, y = 62; the border is 2 pixels wide.
    QTest::mouseMove(form->picture1(), QPoint(2 + 18, 2 + 190));
    EXPECT_EQ(form->picture1()->toolTip(), QStringLiteral("t = 318,300 usec\" ; vo(t) = 0,75V"));
    EXPECT_TRUE(form->toolTip().isEmpty());
    EXPECT_TRUE(form->picture2()->toolTip().isEmpty());

    // A tooltip already showing follows the pointer.
    QToolTip::showText(form->picture1()->mapToGlobal(QPoint(20, 192)), form->picture1()->toolTip(),
                       form->picture1());
    ASSERT_TRUE(QToolTip::isVisible());
    QTest::mouseMove(form->picture1(), QPoint(2 + 18, 2 + 310));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("t = 318,300 usec\" ; vo(t) = -0,75V"));
    QToolTip::hideText();

    // After a run that stopped, the readout shows nothing and reports nothing.
    state.lastRunCompleted = false;
    QTest::mouseMove(form->picture1(), QPoint(2 + 450, 2 + 250));
    EXPECT_TRUE(form->picture1()->toolTip().isEmpty());
    EXPECT_TRUE(errors.kinds.empty());
}

TEST_F(Form2Test, ReadoutShowsWhileAnotherWindowIsActive)
{
    // As after pressing the run button: the parameter window keeps the focus.
    QWidget parameters;
    parameters.show();
    state.CR = 159.15e-6;
    state.Peak = 3;
    state.lastRunCompleted = true;
    showAndWait();
    parameters.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parameters));

    // Through the window system, as a real pointer move: that is what wakes tooltips.
    const QPoint x2y62 = form->picture1()->mapTo(form, QPoint(2 + 18, 2 + 190));
    QTest::mouseMove(form->windowHandle(), x2y62 - QPoint(1, 1));
    QTest::mouseMove(form->windowHandle(), x2y62);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("t = 318.300 usec\" ; vo(t) = 0.75V"));
    QToolTip::hideText();
}

TEST_F(Form2Test, FailingReadoutIsReportedOnce)
{
    state.CR = 1e305;
    state.lastRunCompleted = true;
    showAndWait();
    QTest::mouseMove(form->picture1(), QPoint(2 + 900, 2 + 250));
    EXPECT_EQ(errors.kinds, std::vector<ErrorKind>{ErrorKind::Overflow});
}

}  // namespace
}  // namespace wienbridge
