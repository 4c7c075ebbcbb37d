#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QToolTip>
#include <tuple>

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>

#include "plot/axis_values.h"
#include "tests/support/windows_fixture.h"
#include "waveform/cursor_readout.h"
#include "waveform/plot_menu.h"
#include "waveform/results_window.h"
#include "waveform/sweep_window.h"

using namespace wienbridge;
using namespace wienbridge::test;

namespace {

// A path in the temporary folder with no file there yet.
QString freshPath(const char* name)
{
    const QString path = QDir::temp().filePath(QString::fromUtf8(name));
    QFile::remove(path);
    return path;
}

// Does what opens a file dialog, and answers the dialog with `path`.
template <class Action>
void choosingFile(const QString& path, Action&& action)
{
    QTimer::singleShot(0, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    action();
}

}  // namespace

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
    type("Text4", "3");  // a curve that grows to some 1e21 V
    run();
    EXPECT_TRUE(readoutAt(900, 10).startsWith("t = 15915,000 usec\" ; vo(t) = 2,"));
    EXPECT_TRUE(readoutAt(900, 10).endsWith("E+21V"));
}

TEST_F(Windows, TheSameRunShowsTheSamePixelsAfterRepaintsReRunsAndOnTheCommandLine)
{
    run();
    const QImage drawn = shown();
    EXPECT_GT(count(drawn, kRed), 2 * 901);
    for (QSize size : {QSize(300, 200), QSize(994, 562)}) {
        form->waveformWindow()->hide();
        form->waveformWindow()->resize(size);
        form->waveformWindow()->show();
    }
    QApplication::processEvents();
    EXPECT_TRUE(shown() == drawn);
    form->waveformWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    run();
    EXPECT_TRUE(shown() == drawn);

    // Copied and saved from the plot's menu, and written by the command line, the same pixels again.
    menuItem("Copia grafico")->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == drawn);
    const QString saved = freshPath("wienbridge-saved.png");
    choosingFile(saved, [&] { menuItem("Salva grafico…")->trigger(); });
    EXPECT_TRUE(QImage(saved).convertToFormat(QImage::Format_RGB32) == drawn);
    const QString png = freshPath("wienbridge-città-ω.png");  // a name in any script arrives whole
    ASSERT_EQ(commandLine({"--png", png}).exitCode, 0);
    EXPECT_TRUE(QImage(png).convertToFormat(QImage::Format_RGB32) == drawn);
}

TEST_F(Windows, ExportWritesTheCommandLinesSamplesOrNoFileAtAll)
{
    type("Text2", "10");
    type("Text4", "3");
    run();
    const QString csv = freshPath("wienbridge-samples.csv");
    choosingFile(csv, [&] { menuItem("Esporta campioni…")->trigger(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
    QFile exported(csv);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const std::string samples = commandLine({"--n", "10", "--ratio", "3", "--samples"}).out;
    EXPECT_EQ(exported.readAll().toStdString(), samples);
    // Zoomed to x = 25 to 50, samples 25 to 50 of the 100, with their indices.
    dragAcross(225, 450);
    QFile zoomed(freshPath("wienbridge-zoomed.csv"));
    choosingFile(zoomed.fileName(), [&] { menuItem("Esporta campioni…")->trigger(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
    ASSERT_TRUE(zoomed.open(QIODevice::ReadOnly));
    const std::size_t from = samples.find("\n25,"), to = samples.find("\n51,");
    EXPECT_EQ(zoomed.readAll().toStdString(), "i,vp,vo" + samples.substr(from, to - from + 1));

    // A file that cannot be written, and an export stopped by closing the window.
    const QString unwritable = QDir::temp().filePath("no-such-folder/samples.csv");
    emit form->waveformWindow()->exportRequested({159.15e-6, 3, 10, 3}, unwritable);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 5000));
    const QString stopped = freshPath("wienbridge-stopped.csv");
    emit form->waveformWindow()->exportRequested({159.15e-6, 3, 100000000, 2}, stopped);
    form->waveformWindow()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 5000));
    ASSERT_EQ(errors.failures.size(), 2u);
    EXPECT_EQ(errors.failures[0],
              "Esportazione non riuscita\nImpossibile scrivere il file " + unwritable.toStdString());
    EXPECT_EQ(errors.failures[1],
              "Esportazione annullata\nNessun file è stato scritto: " + stopped.toStdString());
    EXPECT_FALSE(QFile::exists(stopped));
}

TEST_F(Windows, ResultsFollowEveryRunAndWarnWhenTheSamplesMislead)
{
    run();
    menuItem("Risultati…")->trigger();
    auto* results = form->waveformWindow()->findChild<ResultsWindow*>();
    ASSERT_NE(results, nullptr);
    // As a screen reader finds it: "row, column: value".
    const auto shown = [&](const char* row, const char* column = "Sui campioni") {
        const QString name = QString::fromUtf8(row) + (column ? ", " + QString::fromUtf8(column) : "") + ": ";
        for (QLabel* label : results->findChildren<QLabel*>())
            if (label->accessibleName().startsWith(name))
                return label->text();
        return QStringLiteral("(no such value)");
    };
    EXPECT_EQ(shown("Frequenza ideale f0 = 1/(2π·CR)"), "1,000 kHz");
    EXPECT_EQ(shown("Guadagno dello stadio Aol/(Aol·(1/(R1/R2 + 1)) + 1)"), "2,997");  // rounded to K = 3
    const QString coarse =
        "Passo troppo grande: la frequenza dei campioni si scosta di oltre il 2 % da quella "
        "del circuito; aumenta N.";
    const QString unstable =
        "Passo troppo grande: con N ≤ 5 la ricorrenza è instabile e il regime indicato da K "
        "non descrive i campioni.";
    const QString realDamped =
        "\nRegime diverso: secondo il modello (K = 3) l'oscillazione è sostenuta, nel circuito con A.O. "
        "reale è "
        "smorzata; per oscillare gli serve R1/R2 ≥ 2,000003.";
    // The continuous circuit of K = 2 and 4: f0 √(3/4) and a factor e^(∓2π/√3) per period.
    const struct {
        const char *n, *ratio;
        QString regime, circuitFrequency, circuitFactor, warnings;
    } runs[] = {
        {"100", "1", "smorzata", "866,1 Hz", "×0,02658", ""},
        {"100", "3x", "crescente", "866,1 Hz", "×37,62",
         "Casella R1/R2: «3x» è stato letto come 3; il resto è ignorato."},
        {"100", "4", "crescente", "non oscilla", "non oscilla",
         "Passo troppo grande: i campioni oscillano, il circuito no; aumenta N."},
        {"10", "2", "sostenuta", "1,000 kHz", "×1,000", coarse + realDamped},
        {"1.000", "2", "sostenuta", "1,000 kHz", "×1,000",
         unstable + realDamped
             + "\nCasella N (Numero campioni): «1.000» è stato letto come 1; «.» e «,» separano i decimali, "
               "non le migliaia."},
        {"0", "2", "—", "—", "—", ""},  // a failed run
    };
    results->resize(results->minimumSizeHint().width(), results->height());  // narrow: warnings wrap
    for (const auto& r : runs) {
        SCOPED_TRACE(::testing::Message() << r.n << " | " << r.ratio);
        type("Text2", r.n);
        type("Text4", r.ratio);
        run();
        EXPECT_EQ(shown("Oscillazione", "Circuito continuo, stesso K"), r.regime);
        EXPECT_EQ(shown("Frequenza", "Circuito continuo, stesso K"), r.circuitFrequency);
        EXPECT_EQ(shown("Fattore di ampiezza per periodo", "Circuito continuo, stesso K"), r.circuitFactor);
        const QLabel* warnings = results->findChild<QLabel*>("warnings");
        EXPECT_EQ(warnings->text(), r.warnings);
        QApplication::processEvents();
        EXPECT_GE(warnings->height(), warnings->heightForWidth(warnings->width()));  // every line whole
    }
    // With a slow op-amp the real circuit oscillates lower, dies away, and needs more than R1/R2 = 2.
    type("Text2", "100");
    type("Text3", "0,016");
    run();
    EXPECT_EQ(shown("Frequenza", "Circuito con A.O. reale"), "801,8 Hz");
    EXPECT_EQ(shown("Oscillazione", "Circuito con A.O. reale"), "smorzata");
    EXPECT_EQ(shown("R1/R2 minimo per oscillare", "Circuito con A.O. reale"), "2,07011");
    EXPECT_EQ(shown("fc [MHz]", nullptr), "0,016");  // the inputs as read
}

TEST(AxisValues, TimesOfTheTicksAndThePeakInTheLocalesForm)
{
    const PlotScale scale{100e-6, 3.0037547517414542, {}};
    using Texts = std::vector<QString>;
    for (const auto& [separator, times, volts] : {
             std::tuple{",", Texts{"0 s", "2,500 ms", "5,000 ms", "7,500 ms", "10,00 ms"},
                        Texts{"+3,004 V", "0 V", "-3,004 V"}},
             {".", Texts{"0 s", "2.500 ms", "5.000 ms", "7.500 ms", "10.00 ms"},
              Texts{"+3.004 V", "0 V", "-3.004 V"}},
         }) {
        const AxisValues values = axisValues(scale, separator);
        EXPECT_EQ(Texts(values.times.begin(), values.times.end()), times);
        EXPECT_EQ(Texts(values.volts.begin(), values.volts.end()), volts);
    }
}

// Signs and digits whole, at the growing preset's 2E+21 V, at the largest
// double, and with CR in seconds and beyond, as in the window's margins.
TEST(AxisValues, EveryValueLiesWhollyInsideItsMargin)
{
    const QRect window(0, 0, 994, 562), plot(82, 10, 901, 501);
    const struct {
        double cr, peak;
    } runs[] = {{159.15e-6, 3}, {159.15e-6, 2.106e21}, {2.5, 1.797e308}, {1e300, 5e-300}};
    for (const auto& r : runs) {
        SCOPED_TRACE(::testing::Message() << r.cr << " " << r.peak);
        const std::vector<PlacedValue> placed =
            placeAxisValues(axisValues({r.cr, r.peak, {}}, ","), plot, window, QFont());
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const PlacedValue& v = placed[i];
            const bool volts = i >= 5;
            const QRect margin = volts ? QRect(QPoint(0, 0), QPoint(plot.left() - 3, window.bottom()))
                                       : QRect(QPoint(0, plot.bottom() + 3), window.bottomRight());
            EXPECT_TRUE(margin.contains(v.box)) << v.text.toStdString();
            EXPECT_LE(QFontMetrics(v.font).horizontalAdvance(v.text), v.box.width()) << v.text.toStdString();
        }
        EXPECT_TRUE(placed[5].text.startsWith('+') && placed[7].text.startsWith('-'));
    }
}

// The menu opens from the right button over the plot and from Shift+F10 (the
// Menu key is the platform's to send); its axis values show only when asked.
TEST_F(Windows, ThePlotsMenuShowsTheAxisValuesInTheMarginsOnlyWhenAsked)
{
    run();
    const auto opensTheMenu = [](auto&& gesture) {
        gesture();
        QWidget* popup = QApplication::activePopupWidget();
        const bool opened = qobject_cast<PlotMenu*>(popup) != nullptr;
        if (popup)
            popup->close();
        return opened;
    };
    QWidget* window = form->waveformWindow();
    const QPoint middle = plot()->geometry().center();
    EXPECT_TRUE(
        opensTheMenu([&] { QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, middle); }));
    plot()->setFocus();
    EXPECT_TRUE(
        opensTheMenu([&] { QTest::keyClick(window->windowHandle(), Qt::Key_F10, Qt::ShiftModifier); }));
    const auto grabbed = [&] { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage designed = grabbed();
    const int below = plot()->geometry().bottom() + 1;  // the margin under the plot, bare as designed
    EXPECT_EQ(
        count(designed.copy(0, below, designed.width(), designed.height() - below), designed.pixel(0, below)),
        designed.width() * (designed.height() - below));
    menuItem("Valori sugli assi")->trigger();
    EXPECT_FALSE(grabbed() == designed);
    menuItem("Copia grafico")->trigger();  // the plot with its labelled margins
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), window->size());
    menuItem("Valori sugli assi")->trigger();
    EXPECT_TRUE(grabbed() == designed);
    menuItem("Cursori")->trigger();
    EXPECT_FALSE(grabbed() == designed);
    menuItem("Cursori")->trigger();
    EXPECT_TRUE(grabbed() == designed);
}

// A drag across the plot and the wheel show a window of the run's time, which
// the readout follows; "Vista intera" and Home give back the designed plot.
TEST_F(Windows, AZoomShowsAWindowOfTheRunAndVistaInteraTheWholeAgain)
{
    run();
    const QImage designed = shown();
    const QString readout = readoutAt(450, 100);
    dragAcross(225, 450);  // x = 25 to 50: the plot's left edge is at 25 CR
    EXPECT_FALSE(shown() == designed);
    EXPECT_EQ(readoutAt(0, 250), QStringLiteral("t = 3978,750 usec\" ; vo(t) = 0,00V"));
    EXPECT_TRUE(menuItem("Vista intera")->isEnabled());
    for (const bool home : {false, true}) {
        const QPointF middle = plot()->contentsRect().center();
        QWheelEvent notch(middle, plot()->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot(), &notch);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
        EXPECT_FALSE(shown() == designed);
        plot()->setFocus();
        if (home)
            QTest::keyClick(plot(), Qt::Key_Home);
        else
            menuItem("Vista intera")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
        EXPECT_TRUE(shown() == designed);
        EXPECT_EQ(readoutAt(450, 100), readout);
    }
}

// Kept, a curve is drawn behind later runs in its own colour, on their seconds
// and on a voltage scale fitted to the larger peak; removed, the run's own
// plot is back.
TEST_F(Windows, AReferenceSharesTheRunsSecondsAndVolts)
{
    run();  // sustained, peak 3, over 100 CR
    menuItem("Mantieni come riferimento")->trigger();
    type("Text1", "318,3");  // twice the time constant
    type("Text4", "1");      // damped, peak 2
    run();
    const QRgb reference = qRgb(0, 110, 200);
    const QImage both = shown();
    int last = -1;
    for (int x = 0; x < both.width(); ++x)
        for (int y = 0; y < both.height(); ++y)
            if (both.pixel(x, y) == reference)
                last = x;
    EXPECT_NEAR(last, 450, 1);  // its 100 CR are the run's 50
    EXPECT_TRUE(readoutAt(100, 10).endsWith("vo(t) = 3,00V"));
    menuItem("Togli riferimento (CR 159,2 µs, N 100, fc 3,000 MHz, R1/R2 2,000)")->trigger();
    EXPECT_EQ(count(shown(), reference), 0);
    EXPECT_TRUE(readoutAt(100, 10).endsWith("vo(t) = 2,00V"));
    const QString png = freshPath("wienbridge-damped.png");
    ASSERT_EQ(commandLine({"--cr", "318.3", "--ratio", "1", "--png", png}).exitCode, 0);
    EXPECT_TRUE(QImage(png).convertToFormat(QImage::Format_RGB32) == shown());
}

// With the plot focused, Left and Right read the curve itself, a column at a
// time, in the tooltip and for screen readers; with the cursors shown, the
// arrow keys move the one C picks, and Tab still leaves the plot.
TEST_F(Windows, TheArrowKeysReadTheCurveOrMoveTheCursors)
{
    type("Text2", "10");  // Vo = 3, 0, -3, -3, 0, 3, ... one sample a unit of x
    run();
    plot()->setFocus();
    const struct {
        std::vector<Qt::Key> keys;
        const char* described;
    } steps[] = {
        {{Qt::Key_Right}, "t = 159,150 usec\" ; vo(t) = 3,00V"},  // the first sample, at x = 1
        {{Qt::Key_Left}, "t = 159,150 usec\" ; vo(t) = 3,00V"},   // nothing before it
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right},
         "t = 229,883 usec\" ; vo(t) = 1,67V"},  // 4/9 of the way down to the next, 0
        {{Qt::Key_Menu}, ""},                    // the cursors shown
        {{Qt::Key_Right}, "t1 = 3,996 ms, t2 = 11,94 ms"},
        {{Qt::Key_C, Qt::Key_Right, Qt::Key_Right}, "t1 = 3,996 ms, t2 = 11,97 ms"},
        {{Qt::Key_C, Qt::Key_Up}, "v1 = 1,513 V, v2 = -1,500 V"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.described);
        for (const Qt::Key key : step.keys)
            key == Qt::Key_Menu ? menuItem("Cursori")->trigger() : QTest::keyClick(plot(), key);
        EXPECT_TRUE(plot()->accessibleDescription().contains(QString::fromUtf8(step.described)));
    }
    QTest::keyClick(plot(), Qt::Key_Tab);
    EXPECT_FALSE(plot()->hasFocus());
}

// Two times, two voltages and their differences, in engineering units and
// the locale's form, read through the window shown.
TEST(Cursors, ReadTimesVoltagesAndTheirDifferences)
{
    using Readings = std::array<QString, 7>;
    const struct {
        PlotScale scale;
        CursorPlaces places;
        const char* separator;
        Readings readings;
    } cases[] = {
        {{1e-3, 4.8, {}},
         {{25, 75}, {74, 26}},
         ",",
         {"t1 = 25,00 ms", "t2 = 75,00 ms", "Δt = 50,00 ms", "1/Δt = 20,00 Hz", "v1 = 2,400 V",
          "v2 = -2,400 V", "Δv = -4,800 V"}},
        {{1e-3, 2.4e-3, {50, 60}},
         {{25, 75}, {74, 26}},
         ".",  // x = 25 is 52.5 CR
         {"t1 = 52.50 ms", "t2 = 57.50 ms", "Δt = 5.000 ms", "1/Δt = 200.0 Hz", "v1 = 1.200 mV",
          "v2 = -1.200 mV", "Δv = -2.400 mV"}},
        {{1e-3, 4.8, {}},
         {{30, 30}, {50, 50}},
         ",",
         {"t1 = 30,00 ms", "t2 = 30,00 ms", "Δt = 0,000 s", "1/Δt = —", "v1 = 0,000 V", "v2 = 0,000 V",
          "Δv = 0,000 V"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cursorReadings(c.scale, c.places, c.separator), c.readings) << c.separator;
}

// "Andamento" sweeps with the other inputs of the last run, its table exports
// exactly the command line's CSV, and "Annulla" or closing the window stops it.
TEST_F(Windows, AndamentoSweepsTheLastRunAndExportsTheCommandLinesCsv)
{
    type("Text2", "50");
    run();
    menuItem("Andamento…")->trigger();
    auto* sweep = form->waveformWindow()->findChild<SweepWindow*>();
    ASSERT_NE(sweep, nullptr);
    const auto button = [&](const char* name) { return sweep->findChild<QPushButton*>(name); };
    auto* table = sweep->findChild<QTableWidget*>("table");
    sweep->findChild<QSpinBox*>("count")->setValue(8);
    button("calculate")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sweep->isRunning(); }, 60000));
    EXPECT_EQ(table->rowCount(), 8);
    const QString csv = freshPath("wienbridge-andamento.csv");
    choosingFile(csv, [&] { button("exportTable")->click(); });
    QFile exported(csv);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll().toStdString(), commandLine({"--n", "50", "--sweep", "fc:3:0.0005:8"}).out);

    sweep->findChild<QComboBox*>("input")->setCurrentIndex(static_cast<int>(SweptInput::SampleCount));
    sweep->findChild<QLineEdit*>("from")->setText("1e8");
    sweep->findChild<QLineEdit*>("to")->setText("2e8");
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing);
        button("calculate")->click();
        ASSERT_TRUE(sweep->isRunning());
        closing ? (void)sweep->close() : button("cancel")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sweep->isRunning(); }, 10000));
        EXPECT_LT(table->rowCount(), 8);
        EXPECT_FALSE(button("exportTable")->isEnabled());  // nothing whole to export
        EXPECT_TRUE(button("calculate")->isEnabled());
    }
}
