#include <QAbstractSpinBox>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include "help/help_key.h"
#include "help/help_window.h"
#include "parameters/qt_translations.h"
#include "tests/support/windows_fixture.h"
#include "waveform/results_window.h"
#include "waveform/sweep_window.h"

using namespace wienbridge;
using namespace wienbridge::test;

// On a dark desktop too: the plot's colours are its own.
TEST_F(Windows, AFailedRunShowsTheEmptyAxesAndNothingToRead)
{
    const QPalette desktop = QApplication::palette();
    QPalette dark = desktop;
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    const struct {
        const char *box, *text;
        bool windowShown;
    } failures[] = {
        {"Text4", "1e999", false},  // the ratio is read before the window shows
        {"Text2", "0", true},
        {"Text4", "1000", true},  // a curve that grows beyond a double
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.text);
        form = std::make_unique<ParameterWindow>(errors);  // a fresh program: the window not yet shown
        errors.failures.clear();
        type(failure.box, failure.text);
        run();
        EXPECT_EQ(errors.failures.size(), 1u);
        ASSERT_EQ(form->waveformWindow()->isVisible(), failure.windowShown);
        if (failure.windowShown) {
            EXPECT_EQ(count(shown(), kBlack), 72);  // 20 ticks 3 pixels wide, 5 of 3 high, and no curve
            EXPECT_EQ(count(shown(), kRed), 901);
            EXPECT_TRUE(readoutAt(450, 100).isEmpty());
            EXPECT_FALSE(menuItem("Copia grafico")->isEnabled());  // nothing to act on
        }
    }
    QApplication::setPalette(desktop);
}

// The checked option always names the ratio the next run uses, and the ratio
// box shows it with a point, blue for a fixed preset.
TEST_F(Windows, TheCheckedOptionAndTheRatioBoxAlwaysAgree)
{
    enum How { Press, Key, Typing };
    const struct {
        How how;
        const char* control;
        int buttonOrKey;
        const char* typed;
        const char *shown, *checked;
        bool blue;
    } steps[] = {
        {Press, "Option3", Qt::LeftButton, "", "3.00", "Option3", true},
        {Typing, "Text4", 0, "12,5", "12,5", "Option1", false},
        {Press, "Option1", Qt::MiddleButton, "", "12.50", "Option1", false},  // the typed ratio
        {Press, "Option4", Qt::RightButton, "", "1.00", "Option4", true},     // any button
        {Press, "Option2", Qt::LeftButton, "", "2.00", "Option2", true},
        {Key, "Option2", Qt::Key_Down, "", "3.00", "Option3", true},
        {Key, "Option3", Qt::Key_Up, "", "2.00", "Option2", true},
        {Key, "Option2", Qt::Key_Up, "", "1.00", "Option4", true},  // up the window
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(::testing::Message() << step.control << ' ' << step.buttonOrKey << ' ' << step.typed);
        if (step.how == Press) {
            QTest::mousePress(option(step.control), Qt::MouseButton(step.buttonOrKey));
            EXPECT_EQ(control("Text4")->text(), step.shown);  // applied as the button goes down
            QTest::mouseRelease(option(step.control), Qt::MouseButton(step.buttonOrKey));
        } else if (step.how == Key) {
            option(step.control)->setFocus();
            QTest::keyClick(option(step.control), Qt::Key(step.buttonOrKey));
        } else {
            control(step.control)->clear();
            QTest::keyClicks(control(step.control), step.typed);
        }
        EXPECT_EQ(control("Text4")->text(), step.shown);
        EXPECT_TRUE(option(step.checked)->isChecked());
        EXPECT_EQ(control("Text4")->palette().color(QPalette::Text), step.blue ? Qt::blue : Qt::black);
    }
    // A typed ratio too large to read, by the mouse and by the keyboard: reported, and nothing moves.
    type("Text4", "1e999");
    QTest::mousePress(option("Option1"), Qt::LeftButton);
    EXPECT_FALSE(option("Option1")->isDown());
    QTest::mouseRelease(option("Option1"), Qt::LeftButton);
    option("Option4")->setFocus();
    QTest::keyClick(option("Option4"), Qt::Key_Up);
    EXPECT_EQ(errors.failures.size(), 2u);
    EXPECT_EQ(control("Text4")->text(), "1e999");
    EXPECT_TRUE(option("Option4")->isChecked());
}

TEST_F(Windows, AnnullaStopsALongRunWithTheEmptyAxesAndNoReadout)
{
    type("Text2", "100000000");
    startRunning();
    // The dialog belongs to the waveform window, where the run draws.
    const auto dialog = [&] { return form->waveformWindow()->findChild<QProgressDialog*>(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog() && dialog()->isVisible(); }, 10000));
    EXPECT_EQ(dialog()->labelText(), QStringLiteral("Calcolo in corso…"));
    QTest::mouseClick(dialog()->findChild<QPushButton*>(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 5000));
    EXPECT_TRUE(errors.failures.empty());
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(count(shown(), kRed), 901);
    EXPECT_TRUE(readoutAt(450, 100).isEmpty());
}

TEST_F(Windows, DuringARunTheWindowsAnswerButThePresetsWait)
{
    type("Text2", "30000000");
    startRunning();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    option("Option1")->setFocus();
    QTest::keyClick(option("Option1"), Qt::Key_Down);
    QTest::mouseClick(option("Option3"), Qt::LeftButton);
    QTest::keyClicks(control("Text2"), "0");
    // A box's own menu opens, from the pointer, while the run goes on.
    bool menuShown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            menuShown = true;
            menu->close();
        }
    });
    // Sent to the window, as a real click is, where Qt makes a context menu event of it.
    QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, control("Text1")->geometry().center());
    EXPECT_TRUE(form->isRunning());
    EXPECT_FALSE(menuItem("Copia grafico")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));

    EXPECT_TRUE(menuShown);
    EXPECT_TRUE(errors.failures.empty());
    EXPECT_GT(count(shown(), kRed), 901);              // the curve of the run that went on
    EXPECT_EQ(control("Text2")->text(), "300000000");  // kept for the next run
    EXPECT_EQ(control("Text4")->text(), "2");
    EXPECT_TRUE(option("Option1")->isChecked());
}

TEST_F(Windows, ClosingTheWaveformWindowStopsItsRun)
{
    type("Text2", "214748364");  // the largest N: seconds of work, stopped within a block
    startRunning();
    form->waveformWindow()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 2000));
    EXPECT_EQ(form->waveformWindow(), nullptr);
    EXPECT_TRUE(errors.failures.empty());
    type("Text2", "100");
    run();
    EXPECT_GT(count(shown(), kRed), 901);
}

// The program ends with its last window: closing the parameter window leaves
// the waveform window open, where a run under way goes on and draws; closing
// that one too ends the program, and stops the run it had.
TEST_F(Windows, TheProgramEndsWithItsLastWindow)
{
    const auto endsWhenClosed = [](QWidget* last) {
        QTimer::singleShot(0, last, &QWidget::close);
        QTimer::singleShot(3000, qApp, [] { QCoreApplication::exit(1); });  // had anything kept it going
        return QApplication::exec() == 0;
    };
    for (const char* n : {"100", "3000000"}) {  // after a run, and during one
        SCOPED_TRACE(n);
        form = std::make_unique<ParameterWindow>(errors);
        form->show();
        type("Text2", n);
        startRunning();
        form->close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
        ASSERT_NE(form->waveformWindow(), nullptr);
        EXPECT_TRUE(form->waveformWindow()->isVisible());
        EXPECT_GT(count(shown(), kRed), 901);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the busy pointer gone with the run
        EXPECT_TRUE(endsWhenClosed(form->waveformWindow()));
    }
    type("Text2", "100000000");
    startRunning();
    form->close();
    EXPECT_TRUE(endsWhenClosed(form->waveformWindow()));
    EXPECT_TRUE(errors.failures.empty());
}

// Qt's own menus and dialogs speak the user's language, here a text box's menu.
TEST(QtTexts, AreItalianForAnItalianUser)
{
    const auto translator = installQtTranslations(QLocale(QLocale::Italian, QLocale::Italy));
    QLineEdit box;
    QStringList texts;
    for (const QAction* action : box.createStandardContextMenu()->actions())
        if (!action->isSeparator())
            texts << action->text().remove(u'&').section(u'\t', 0, 0);
    EXPECT_EQ(texts.join(" / "), u"Annulla / Rifai / Taglia / Copia / Incolla / Elimina / Seleziona tutto");
}

// F1 in every window opens "Guida" at what that window is about, as do the
// plot's menu items; "Informazioni su…" names the program, its version and Qt's.
TEST_F(Windows, F1AndThePlotsMenuOpenTheHelpWhereTheUserIs)
{
    HelpKey helpKey;
    qApp->installEventFilter(&helpKey);
    run();
    menuItem("Risultati…")->trigger();
    menuItem("Andamento…")->trigger();
    QWidget* waveform = form->waveformWindow();
    const struct {
        QWidget* window;
        QString section;
    } windows[] = {
        {form.get(), "caselle"},
        {waveform, "grafico"},
        {waveform->findChild<ResultsWindow*>(), "risultati"},
        {waveform->findChild<SweepWindow*>(), "andamento"},
    };
    const auto help = [&] { return form->findChild<HelpWindow*>(); };
    for (const auto& w : windows) {
        QTest::keyClick(w.window, Qt::Key_F1);
        ASSERT_NE(help(), nullptr);
        EXPECT_TRUE(help()->isVisible());
        EXPECT_EQ(help()->section(), w.section);
    }
    QTest::keyClick(form.get(), Qt::Key_F1);
    menuItem("Guida")->trigger();
    EXPECT_EQ(help()->section(), "grafico");
    QString about;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        about = box ? box->text() : QString();
        if (box)
            box->accept();
    });
    menuItem("Informazioni su…")->trigger();
    EXPECT_TRUE(about.contains("Versione 1.00") && about.contains(QString::fromLatin1(qVersion())))
        << about.toStdString();
}

// Screen readers find a name for every control of every window.
TEST_F(Windows, EveryControlHasAName)
{
    run();
    menuItem("Risultati…")->trigger();
    menuItem("Andamento…")->trigger();
    menuItem("Guida")->trigger();
    QStringList unnamed;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const auto* button = qobject_cast<QAbstractButton*>(control);
            const bool ownPart = qobject_cast<QAbstractSpinBox*>(control->parentWidget());  // its text field
            if (control->window() == window && !ownPart && control->focusPolicy() != Qt::NoFocus
                && control->isVisibleTo(window) && control->accessibleName().isEmpty()
                && !(button && !button->text().isEmpty()))
                unnamed << window->objectName() + "/" + control->objectName() + " "
                               + control->metaObject()->className();
        }
    }
    EXPECT_EQ(unnamed.join(", ").toStdString(), "");
}
