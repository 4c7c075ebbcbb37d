#include <QImage>
#include <QPalette>
#include <QPointer>

#include "colours.h"
#include "form1_fixture.h"
#include "plot_picture.h"
#include "support/pixels.h"

using wienbridge::ErrorKind;
namespace colours = wienbridge::colours;

namespace {

QColor textColour(const QLineEdit* box)
{
    return box->palette().color(QPalette::Text);
}

// Pixels of the plot's inner area (without its frame) that are, or with
// `except` are not, of the given colour.
int plotPixels(const wienbridge::Form2* form2, const QColor& colour, bool except = false)
{
    wienbridge::PlotPicture* plot = form2->picture1();
    const QImage image = plot->grab(plot->contentsRect()).toImage();
    const int matching = wienbridge::testing::countColour(image, colour);
    return except ? image.width() * image.height() - matching : matching;
}

int drawnPixels(const wienbridge::Form2* form2)
{
    return plotPixels(form2, colours::plotBackground(), true);
}

// Remembers whether the busy pointer was still up when a failure was reported.
class CursorAtReport final : public wienbridge::ErrorReport {
public:
    void report(const wienbridge::RuntimeError& error) override
    {
        kinds.push_back(error.kind());
        busyAtReport = busyAtReport || QApplication::overrideCursor() != nullptr;
    }
    std::vector<ErrorKind> kinds;
    bool busyAtReport = false;
};

}  // namespace

TEST_F(Form1Test, PresetsWriteTheRatioWithAPointInEveryLocale)
{
    for (const QLocale& locale : {QLocale(QLocale::Italian, QLocale::Italy), QLocale::c()}) {
        QLocale::setDefault(locale);
        const struct {
            const char* option;
            const char* shown;
        } fixed[] = {{"Option2", "2.00"}, {"Option3", "3.00"}, {"Option4", "1.00"}};
        for (const auto& c : fixed) {
            QTest::mouseClick(option(c.option), Qt::LeftButton);
            EXPECT_EQ(text("Text4")->text(), QString::fromLatin1(c.shown)) << c.option;
            EXPECT_EQ(textColour(text("Text4")), colours::blue()) << c.option;
            EXPECT_TRUE(option(c.option)->isChecked());
        }
        const struct {
            const char* typed;
            const char* shown;
        } typed[] = {{"1,5", "1.00"}, {"12.5", "12.50"}, {"", "0.00"}};
        for (const auto& c : typed) {
            setText("Text4", QString::fromLatin1(c.typed));
            QTest::mouseClick(option("Option1"), Qt::LeftButton);
            EXPECT_EQ(text("Text4")->text(), QString::fromLatin1(c.shown)) << c.typed;
            EXPECT_EQ(textColour(text("Text4")), colours::black()) << c.typed;
        }
    }
    // What the box shows is what the next run reads.
    setText("Text4", QStringLiteral("12.5"));
    QTest::mouseClick(option("Option1"), Qt::LeftButton);
    pressRun();
    EXPECT_EQ(state.Ratio, 12.5);
    EXPECT_TRUE(errors.kinds.empty());

    setText("Text4", QStringLiteral("1e999"));
    QTest::mouseClick(option("Option1"), Qt::LeftButton);
    EXPECT_EQ(errors.kinds, std::vector<ErrorKind>{ErrorKind::Overflow});
    EXPECT_EQ(text("Text4")->text(), QStringLiteral("1e999"));
}

TEST_F(Form1Test, AnyMouseButtonPresetsButTheKeyboardDoesNot)
{
    QTest::mouseClick(option("Option3"), Qt::RightButton);
    EXPECT_EQ(text("Text4")->text(), QStringLiteral("3.00"));
    QTest::mouseClick(option("Option4"), Qt::MiddleButton);
    EXPECT_EQ(text("Text4")->text(), QStringLiteral("1.00"));
    // The press alone does it, before the button is released.
    QTest::mousePress(option("Option2"), Qt::LeftButton);
    EXPECT_EQ(text("Text4")->text(), QStringLiteral("2.00"));
    QTest::mouseRelease(option("Option2"), Qt::LeftButton);

    setText("Text4", QStringLiteral("5"));
    option("Option1")->setFocus();
    QTest::keyClick(option("Option1"), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(option("Option1")->isChecked());  // the keyboard did select another option
    EXPECT_EQ(text("Text4")->text(), QStringLiteral("5"));
}

TEST_F(Form1Test, TypingAndEnterDoNotRun)
{
    QTest::mouseClick(option("Option2"), Qt::LeftButton);
    for (const char* box : {"Text2", "Text4"}) {
        text(box)->setFocus();
        text(box)->selectAll();
        QTest::keyClicks(text(box), QStringLiteral("3"));
        QTest::keyClick(text(box), Qt::Key_Return);
        QTest::keyClick(text(box), Qt::Key_Enter);
    }
    EXPECT_EQ(form->form2(), nullptr);
    EXPECT_EQ(state.N, 0);
    EXPECT_EQ(state.Ratio, 2);                              // set by the preset, not by typing
    EXPECT_EQ(textColour(text("Text4")), colours::blue());  // nothing reacts to a change of text

    pressRun();
    EXPECT_EQ(state.N, 3);
    EXPECT_EQ(state.Ratio, 3);
}

TEST_F(Form1Test, RunShowsTheCurveAndReopensAClosedWindow)
{
    pressRun();
    ASSERT_NE(form->form2(), nullptr);
    EXPECT_TRUE(form->form2()->isVisible());
    EXPECT_TRUE(state.lastRunCompleted);
    EXPECT_GT(plotPixels(form->form2(), colours::red()), 900);  // more than the zero line
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    wienbridge::Form2* first = form->form2();
    const QImage firstPlot = first->picture1()->grab().toImage();
    pressRun();
    EXPECT_EQ(form->form2(), first);  // the next run draws into the same window
    EXPECT_EQ(first->picture1()->grab().toImage(), firstPlot);  // on the wiped plot, the same image

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->form2(), nullptr);
    pressRun();
    ASSERT_NE(form->form2(), nullptr);
    EXPECT_TRUE(form->form2()->isVisible());
    EXPECT_EQ(form->form2()->picture1()->grab().toImage(), firstPlot);  // drawn afresh, the same
    EXPECT_TRUE(errors.kinds.empty());
}

TEST_F(Form1Test, WaveformWindowOutlivesAClosedParameterWindow)
{
    pressRun();
    const QPointer<wienbridge::Form2> form2 = form->form2();
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(form2.isNull());
    EXPECT_TRUE(form2->isVisible());

    // When the parameter window goes, it takes an open waveform window with it.
    form.reset();
    EXPECT_TRUE(form2.isNull());
}

TEST_F(Form1Test, FailedRunKeepsTheAxesAndTheProgramGoesOn)
{
    setText("Text2", QStringLiteral("0"));
    pressRun();
    EXPECT_EQ(errors.kinds.size(), 1u);
    EXPECT_FALSE(state.lastRunCompleted);
    ASSERT_NE(form->form2(), nullptr);
    EXPECT_TRUE(form->form2()->isVisible());
    const int axes = drawnPixels(form->form2());
    EXPECT_GT(axes, 0);

    setText("Text2", QStringLiteral("100"));
    pressRun();
    EXPECT_EQ(errors.kinds.size(), 1u);
    EXPECT_TRUE(state.lastRunCompleted);
    EXPECT_GT(drawnPixels(form->form2()), axes);

    // The run wipes the last curve before it fails.
    setText("Text2", QStringLiteral("0"));
    pressRun();
    EXPECT_EQ(errors.kinds.size(), 2u);
    EXPECT_EQ(drawnPixels(form->form2()), axes);
}

TEST_F(Form1Test, EachBadInputIsReportedOnceWithTheBusyPointerGone)
{
    CursorAtReport report;
    form = std::make_unique<wienbridge::Form1>(state, report);
    form->show();
    const struct {
        const char* box;
        const char* value;
    } cases[] = {
        {"Text2", "0"},    {"Text2", ""},     {"Text1", "0"},         {"Text3", "0"},
        {"Text4", "-1"},   {"Text4", "1000"}, {"Text2", "214748365"}, {"Text2", "-1"},
    };
    for (const auto& c : cases) {
        const QString typed = text(c.box)->text();
        setText(c.box, QString::fromLatin1(c.value));
        const std::size_t before = report.kinds.size();
        pressRun();
        EXPECT_EQ(report.kinds.size(), before + 1) << c.box << "=" << c.value;
        EXPECT_FALSE(state.lastRunCompleted) << c.box << "=" << c.value;
        setText(c.box, typed);
    }
    EXPECT_FALSE(report.busyAtReport);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_NE(form->form2(), nullptr);
    EXPECT_TRUE(form->form2()->isVisible());
}
