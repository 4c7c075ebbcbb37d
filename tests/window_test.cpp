#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTimer>
#include <QToolTip>

#include "support/windows_fixture.h"

using namespace wienbridge;
using namespace wienbridge::test;

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
        {"1e-160", "100", "3", "2", ErrorKind::DivisionByZero,
         "Casella CR [usec]: il valore è troppo piccolo", true},
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
        const std::string& text = errors.texts[0];  // the error's name, then what to change
        EXPECT_EQ(text.substr(0, text.find('\n') + 1), std::string(italianMessage(c.kind)) + '\n');
        EXPECT_NE(text.find(c.hint, text.find('\n')), std::string::npos) << text;
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
    // An option pressed with a mouse button, or else with a key; the ratio shown, the option checked.
    const struct {
        const char* option;
        Qt::MouseButton button;
        Qt::Key key;
        const char *shown, *checked;
    } steps[] = {
        {"Option1", Qt::RightButton, {}, "12.50", "Option1"},  // the typed ratio, in black
        {"Option3", Qt::MiddleButton, {}, "3.00", "Option1"},  // any button
        {"Option2", Qt::LeftButton, {}, "2.00", "Option2"},
        {"Option2", {}, Qt::Key_Down, "3.00", "Option3"},  // the check and the ratio move together
        {"Option3", {}, Qt::Key_Up, "2.00", "Option2"},
        {"Option2", {}, Qt::Key_Up, "1.00", "Option4"},  // up the window
        {"Option4", {}, Qt::Key_Space, "1.00", "Option4"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        if (step.button) {
            QTest::mousePress(option(step.option), step.button);  // applied as the button goes down
            EXPECT_EQ(control("Text4")->text(), QString::fromLatin1(step.shown));
            QTest::mouseRelease(option(step.option), step.button);
        } else {
            option(step.option)->setFocus();
            QTest::keyClick(option(step.option), step.key);
        }
        EXPECT_EQ(control("Text4")->text(), QString::fromLatin1(step.shown));
        EXPECT_TRUE(option(step.checked)->isChecked());
        EXPECT_EQ(control("Text4")->palette().color(QPalette::Text).blue(), &step == &steps[0] ? 0 : 255);
    }
    type("Text4", "1e999");  // reported once, the text left as it was
    QTest::mouseClick(option("Option1"), Qt::LeftButton);
    EXPECT_EQ(errors.kinds, std::vector{ErrorKind::Overflow});
    EXPECT_EQ(control("Text4")->text(), "1e999");
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
    for (QSize size : {QSize(300, 200), QSize(994, 562)})
        form->waveformWindow()->hide(), form->waveformWindow()->resize(size), form->waveformWindow()->show();
    QApplication::processEvents();
    EXPECT_TRUE(shown() == drawn);
    form->waveformWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    run();
    EXPECT_TRUE(shown() == drawn);

    // Letters beyond ASCII, which Windows hands a program's argv only in its ANSI code page.
    const QString png = QDir::temp().filePath(QStringLiteral("wienbridge-città-ω.png"));
    QProcess sim;
    sim.start(QStringLiteral(WIENBRIDGE_SIM), {QStringLiteral("--png"), png});
    ASSERT_TRUE(sim.waitForFinished());
    ASSERT_EQ(sim.exitCode(), 0);
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
    QTimer::singleShot(3000, qApp,
                       [] { QCoreApplication::exit(1); });  // had the waveform window kept it going
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(form->waveformWindow() && form->waveformWindow()->isVisible());
}

// Runs must complete and Fails must report an error; Refused is a preset that must report the
// ratio it cannot read; a preset clicks with button a, so no button is left down for later tests;
// Move goes to inner pixel (a, b) of Picture1, negative for its border.
enum Act { Type, Preset, Refused, Runs, Fails, Close, Move };
struct Step {
    Act act;
    const char* name = "";
    QString text = {};
    int a = 0, b = 0;
};

TEST_F(Windows, HostileSessionLeavesTheProgramConsistent)
{
    const QString junk = QStringLiteral("99,e").repeated(375);  // its longest number is 99,e99
    const Step steps[] = {
        {Type, "Text4", "1000"},
        {Fails},
        {Move, "", {}, 450, 100},
        {Type, "Text2", "0"},
        {Fails},
        {Type, "Text2", "1,5"},
        {Runs},
        {Move, "", {}, 18, 310},
        {Move, "", {}, -1, 100},
        {Type, "Text2", "-1"},
        {Preset, "Option3", {}, Qt::MiddleButton},
        {Fails},
        {Move, "", {}, 450, 0},
        {Close},
        {Type, "Text2", "214748365"},
        {Fails},
        {Type, "Text1", "🙂"},
        {Type, "Text2", "1e10"},
        {Fails},
        {Type, "Text2", "３"},
        {Fails},
        {Type, "Text1", " \t 3"},
        {Type, "Text2", "1e"},
        {Type, "Text4", "0x10"},
        {Runs},
        {Move, "", {}, 0, 500},
        {Type, "Text1", junk},
        {Type, "Text3", "0"},
        {Fails},
        {Type, "Text3", "159,15"},
        {Runs},
        {Move, "", {}, 900, 0},
        {Type, "Text4", "1e309"},
        {Refused, "Option1", {}, Qt::LeftButton},
        {Move, "", {}, 450, 0},
        {Move, "", {}, 900, -2},
        {Type, "Text4", junk},
        {Preset, "Option1", {}, Qt::RightButton},
        {Fails},
        {Type, "Text4", "-1"},
        {Fails},
        {Preset, "Option4", {}, Qt::LeftButton},
        {Runs},
        {Type, "Text1", "-1e-400"},
        {Type, "Text3", "inf"},
        {Fails},
        {Type, "Text3", "١٢٣"},
        {Type, "Text4", "--3"},
        {Close},
        {Type, "Text1", ""},
        {Type, "Text4", "nan"},
        {Preset, "Option2", {}, Qt::RightButton},
        {Fails},
        {Type, "Text1", "1000000"},
        {Type, "Text2", "10"},
        {Type, "Text3", "1000000"},
        {Type, "Text4", "1165"},
        {Runs},
        {Move, "", {}, 450, 0},
        {Type, "Text2", "58"},
        {Type, "Text4", "16"},
        {Runs},
        {Move, "", {}, 450, 0},
        {Type, "Text1", "159.15"},
        {Type, "Text2", "100"},
        {Type, "Text3", "3"},
        {Type, "Text4", "2"},
        {Runs},
    };
    const char* const acts[] = {"Type", "Preset", "Refused", "Runs", "Fails", "Close", "Move"};
    const QRegularExpression readout(QStringLiteral(R"(^t = -?\d+,\d{3} usec" ; vo\(t\) = -?\d+,\d{2}V$)"));
    bool lastRunFailed = false;
    for (int row = 0; const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "row " << row++ << ": " << acts[s.act] << ' ' << s.name << " \""
                                          << s.text.left(24).toStdString() << "\" " << s.a << ' ' << s.b);
        const std::size_t before = errors.kinds.size();
        QString tip;
        switch (s.act) {
        case Type:
            control(s.name)->setText(s.text);
            break;
        case Preset:
        case Refused:
            QTest::mouseClick(option(s.name), Qt::MouseButton(s.a));
            break;
        case Runs:
        case Fails:
            run(), lastRunFailed = s.act == Fails;
            break;
        case Close:
            form->waveformWindow()->close();
            break;
        case Move:
            tip = form->waveformWindow() && form->waveformWindow()->isVisible() ? readoutAt(s.a, s.b)
                                                                                : "hidden";
        }
        QApplication::sendPostedEvents(nullptr,
                                       QEvent::DeferredDelete);  // as the event loop does between two actions
        EXPECT_TRUE(form->isVisible() && form->isEnabled() && !qApp->activeModalWidget()
                    && !qApp->overrideCursor());
        ASSERT_EQ(errors.kinds.size() - before, std::size_t(s.act == Fails || s.act == Refused));
        for (const std::string& text : errors.texts)
            EXPECT_EQ(QString::fromStdString(text).count(u'\n'), 1) << text;
        const bool quiet = s.act != Move || s.a < 0 || s.b < 0 || lastRunFailed;
        EXPECT_TRUE(quiet ? tip.isEmpty() : readout.match(tip).hasMatch()) << tip.toStdString();
    }

    // The default run draws the sustained curve: its peaks, y = 98 and y = 2, on rows 10 and 490, nothing
    // beyond.
    const QImage curve = shown();
    EXPECT_EQ(count(curve.copy(0, 0, 901, 10), kRed) + count(curve.copy(0, 491, 901, 10), kRed), 0);
    EXPECT_GT(count(curve.copy(0, 10, 901, 1), kRed) * count(curve.copy(0, 490, 901, 1), kRed), 0);
}
