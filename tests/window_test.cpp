#include <QProgressDialog>
#include <QTimer>
#include <QToolTip>

#include "support/windows_fixture.h"

using namespace wienbridge;
using namespace wienbridge::test;

namespace {

TEST_F(Windows, OpenAtTheirDesignedSizes)
{
    EXPECT_EQ(form->size(), QSize(1056, 455));
    EXPECT_EQ(QApplication::focusWidget(), control("Text1"));
    run();
    EXPECT_EQ(form->waveformWindow()->size(), QSize(994, 562));
    EXPECT_EQ(plot()->contentsRect().size(), QSize(901, 501));
}

TEST_F(Windows, RunReadsTheBoxesInOrderAndSaysWhatToChange)
{
    const struct {
        const char *cr, *n, *fc, *ratio;
        ErrorKind kind;
        const char* hint;
        bool windowShown;
    } cases[] = {
        {"159.15", "0", "3", "1e999", ErrorKind::Overflow, "Casella R1/R2", false},  // the ratio first
        {"1e999", "1e999", "1e999", "2", ErrorKind::Overflow, "Casella CR", true},   // then CR, fc, N
        {"159.15", "1e999", "1e999", "2", ErrorKind::Overflow, "Casella fc", true},
        {"159.15", "0", "3", "2", ErrorKind::DivisionByZero, "Casella N", true},
        {"159.15", "", "3", "2", ErrorKind::DivisionByZero, "Casella N", true},
        {"159.15", "-1", "3", "2", ErrorKind::SubscriptOutOfRange, "Casella N", true},
        {"159.15", "214748365", "3", "2", ErrorKind::Overflow, "Casella N", true},
        {"0", "100", "3", "2", ErrorKind::DivisionByZero, "Casella CR", true},
        {"1e-160", "100", "3", "2", ErrorKind::DivisionByZero, "Casella CR [usec]: il valore è troppo piccolo", true},
        {"159.15", "100", "3", "-1", ErrorKind::DivisionByZero, "Casella R1/R2", true},
        {"159.15", "100", "3", "1000", ErrorKind::Overflow, "riduci R1/R2 o N", true},
        {"3.3", "100", "0,01", "2", ErrorKind::InvalidOperation, "aumenta fc o R1/R2", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.cr << " | " << c.n << " | " << c.fc << " | " << c.ratio);
        form = std::make_unique<ParameterWindow>(errors);  // a fresh program: the window not yet shown
        type("Text1", c.cr), type("Text2", c.n), type("Text3", c.fc), type("Text4", c.ratio);
        errors.texts.clear();
        run();
        ASSERT_EQ(errors.texts.size(), 1u);
        const QStringList lines = QString::fromStdString(errors.texts[0]).split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0].toStdString(), italianMessage(c.kind));
        EXPECT_TRUE(lines[1].contains(QString::fromUtf8(c.hint))) << lines[1].toStdString();
        ASSERT_EQ(form->waveformWindow()->isVisible(), c.windowShown);
        if (c.windowShown) {  // the empty axes: ticks and the zero line, no curve
            EXPECT_EQ(count(shown(), qRgb(0, 0, 0)), 72);
            EXPECT_EQ(count(shown(), kRed), 901);
            EXPECT_TRUE(readoutAt(450, 100).isEmpty());
        }
    }
}

TEST_F(Windows, PresetsFromMouseOrKeyboardWriteTheRatioWithAPoint)
{
    type("Text4", "12,5");
    const struct {
        const char* option;
        Qt::MouseButton button;  // pressed, or else the key typed
        Qt::Key key;
        const char *shown, *checked;
    } steps[] = {
        {"Option1", Qt::RightButton, {}, "12.50", "Option1"},  // the typed ratio, in black
        {"Option3", Qt::MiddleButton, {}, "3.00", "Option1"},  // any button, as it goes down
        {"Option2", Qt::LeftButton, {}, "2.00", "Option2"},
        {"Option2", {}, Qt::Key_Down, "3.00", "Option3"},  // the check and the ratio move together
        {"Option3", {}, Qt::Key_Up, "2.00", "Option2"},
        {"Option2", {}, Qt::Key_Up, "1.00", "Option4"},  // up the window
        {"Option4", {}, Qt::Key_Space, "1.00", "Option4"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        if (step.button) {
            QTest::mousePress(option(step.option), step.button);
            EXPECT_EQ(control("Text4")->text(), step.shown);
            QTest::mouseRelease(option(step.option), step.button);
        } else {
            option(step.option)->setFocus();
            QTest::keyClick(option(step.option), step.key);
        }
        EXPECT_EQ(control("Text4")->text(), step.shown);
        EXPECT_TRUE(option(step.checked)->isChecked());
        EXPECT_EQ(control("Text4")->palette().color(QPalette::Text).blue(), &step == &steps[0] ? 0 : 255);
    }
    type("Text4", "1e999");  // reported once, the text left as it was
    QTest::mouseClick(option("Option1"), Qt::LeftButton);
    EXPECT_EQ(errors.kinds, std::vector{ErrorKind::Overflow});
    EXPECT_EQ(control("Text4")->text(), "1e999");
}

TEST_F(Windows, TypingAndEnterStartNothing)
{
    for (const char* box : {"Text1", "Text2", "Text3", "Text4"}) {
        QTest::keyClicks(control(box), "5");
        QTest::keyClick(control(box), Qt::Key_Return);
    }
    EXPECT_EQ(form->waveformWindow(), nullptr);
    EXPECT_TRUE(option("Option1")->isChecked());
}

TEST_F(Windows, ReadoutShowsTimeAndVoltageOverThePlotOnly)
{
    type("Text1", "159,15");
    run();
    // Inner pixel (18, 190) is x = 2, y = 62: 2 CR, and 12/48 of the peak of about 3.
    EXPECT_EQ(readoutAt(18, 310), QStringLiteral("t = 318,300 usec\" ; vo(t) = -0,75V"));
    EXPECT_TRUE(readoutAt(-1, 100).isEmpty());  // the border
    // The parameter window keeps the focus after a run: the tooltip must show all the same.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    readoutAt(18, 190);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("t = 318,300 usec\" ; vo(t) = 0,75V"));
    QToolTip::hideText();
}

TEST_F(Windows, TheSameRunShowsTheSamePixelsAfterRepaintsReRunsAndOnTheCommandLine)
{
    run();
    const QImage drawn = shown();
    EXPECT_GT(count(drawn, kRed), 2 * 901);
    form->waveformWindow()->hide();
    form->waveformWindow()->resize(300, 200);
    form->waveformWindow()->show();
    form->waveformWindow()->resize(994, 562);
    QApplication::processEvents();
    EXPECT_TRUE(shown() == drawn);
    form->waveformWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    run();
    EXPECT_TRUE(shown() == drawn);

    const QString png = QDir::temp().filePath(QStringLiteral("wienbridge-test.png"));
    ASSERT_EQ(std::system((WIENBRIDGE_SIM " --png " + png.toStdString() + " > /dev/null").c_str()), 0);
    EXPECT_TRUE(QImage(png).convertToFormat(QImage::Format_RGB32) == drawn);
    QFile::remove(png);
}

TEST_F(Windows, AnnullaStopsALongRunWithTheEmptyAxesAndNoReadout)
{
    type("Text2", "100000000");
    bool pressedAgain = false;
    std::function<void()> cancelWhenAsked = [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return QTimer::singleShot(20, cancelWhenAsked);
        EXPECT_EQ(dialog->labelText(), QStringLiteral("Calcolo in corso…"));
        run();  // held back while the run goes on
        QTest::mouseClick(option("Option3"), Qt::LeftButton);
        pressedAgain = true;
        dialog->cancel();
    };
    QTimer::singleShot(20, cancelWhenAsked);
    run();
    EXPECT_TRUE(pressedAgain);
    EXPECT_TRUE(errors.kinds.empty());
    EXPECT_EQ(control("Text4")->text(), "2");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(count(shown(), kRed), 901);
    EXPECT_TRUE(readoutAt(450, 100).isEmpty());
}

TEST_F(Windows, ClosingTheParameterWindowEndsTheProgram)
{
    run();
    QTimer::singleShot(0, form.get(), &QWidget::close);
    QTimer::singleShot(3000, qApp, [] { QCoreApplication::exit(1); });  // had the waveform window kept it going
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(form->waveformWindow() && form->waveformWindow()->isVisible());
}

}  // namespace
