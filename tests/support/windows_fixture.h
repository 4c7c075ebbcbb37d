#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "parameters/design_font.h"
#include "parameters/parameter_window.h"
#include "plot/plot_drawing.h"
#include "waveform/plot_picture.h"
#include "waveform/waveform_window.h"
#include "widget_helpers/error_report.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace wienbridge::test {

inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kBlack = qRgb(0, 0, 0);

inline int count(const QImage& image, QRgb colour)
{
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return static_cast<int>(std::count(pixels, pixels + image.sizeInBytes() / 4, colour));
}

// What the command line wrote and how it ended.
struct Finished {
    int exitCode = -1;
    std::string out, err;
};

// Standard output goes to `output` when one is named.
inline Finished commandLine(const QStringList& arguments, const QString& output = {})
{
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(QStringLiteral(WIENBRIDGE_SIM), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

// Keeps the failures a message box would show.
struct RecordingErrorReport final : ErrorReport {
    void report(const FailureMessage& failure, QWidget*) override { failures.push_back(failure.text()); }
    std::vector<std::string> failures;
};

// A shown parameter window, in an Italian locale, whose failures are recorded instead of shown.
class Windows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installDesignFontSubstitutes(); }
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        form = std::make_unique<ParameterWindow>(errors);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override
    {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    template <class Widget = QLineEdit>
    Widget* control(const char* name) const
    {
        return form->findChild<Widget*>(QLatin1String(name));
    }
    QRadioButton* option(const char* name) const { return control<QRadioButton>(name); }
    void type(const char* box, const char* text) const { control(box)->setText(QString::fromUtf8(text)); }
    // Presses the run button and waits, serving the events, until the run has ended.
    void run() const
    {
        startRunning();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
    }
    void startRunning() const { QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton); }
    PlotPicture* plot() const { return form->waveformWindow()->plot(); }
    // The item of the plot's menu with this text.
    QAction* menuItem(const char* text) const
    {
        for (QAction* action : form->waveformWindow()->findChild<QMenu*>()->actions())
            if (action->text() == QString::fromUtf8(text))
                return action;
        ADD_FAILURE() << "no menu item " << text;
        return nullptr;
    }
    // Drags the left button across Picture1 from inner column x0 to x1, and
    // waits for what that computes.
    void dragAcross(int x0, int x1) const
    {
        const QPoint row = plot()->contentsRect().topLeft() + QPoint(0, 250);
        QTest::mousePress(plot(), Qt::LeftButton, {}, row + QPoint(x0, 0));
        QTest::mouseMove(plot(), row + QPoint(x1, 0));
        QTest::mouseRelease(plot(), Qt::LeftButton, {}, row + QPoint(x1, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
    }
    // Picture1's inner area as it shows on screen.
    QImage shown() const
    {
        return plot()->grab(plot()->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The tooltip after the pointer moved to inner pixel (x, y) of Picture1, or
    // onto its border for negative ones. Sent to the window, as a real pointer
    // move is; Qt drops a move to where the pointer already is, so the pointer
    // first comes in from near the window's corner, outside the plot.
    QString readoutAt(int x, int y) const
    {
        QWidget* window = form->waveformWindow();
        QTest::mouseMove(window->windowHandle(), QPoint(1, 1));
        QTest::mouseMove(window->windowHandle(),
                         plot()->mapTo(window, plot()->contentsRect().topLeft() + QPoint(x, y)));
        return plot()->toolTip();
    }

    RecordingErrorReport errors;
    std::unique_ptr<ParameterWindow> form;
};

}  // namespace wienbridge::test
