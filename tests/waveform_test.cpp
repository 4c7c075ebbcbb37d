#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QTimer>
#include <QToolTip>

#include "plot_menu.h"
#include "support/windows_fixture.h"

using namespace wienbridge;
using namespace wienbridge::test;

namespace {

// A path in the temporary folder with no file there yet.
QString freshPath(const char* name)
{
    const QString path = QDir::temp().filePath(QString::fromLatin1(name));
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
    const QString png = freshPath("wienbridge-command-line.png");
    ASSERT_EQ(QProcess::execute(QStringLiteral(WIENBRIDGE_SIM), {QStringLiteral("--png"), png}), 0);
    EXPECT_TRUE(QImage(png).convertToFormat(QImage::Format_RGB32) == drawn);
}

TEST_F(Windows, ThePlotsMenuOpensOverThePlotAndActsOnlyOnAFinishedRun)
{
    const auto copyEnabled = [&] { return menuItem("Copia grafico")->isEnabled(); };
    type("Text2", "0");
    run();
    EXPECT_FALSE(copyEnabled());  // a failed run leaves nothing to act on
    EXPECT_TRUE(menuItem("Valori sugli assi")->isEnabled());
    type("Text2", "100000000");
    startRunning();
    EXPECT_FALSE(copyEnabled());
    form->close();  // cancels the run
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 5000));
    form->show();
    type("Text2", "100");
    run();
    EXPECT_TRUE(copyEnabled());

    // From the right button over the plot, and from Shift+F10 (the Menu key is the platform's to send).
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
}

TEST_F(Windows, ExportWritesTheCommandLinesSamplesOrNoFileAtAll)
{
    type("Text2", "10");
    type("Text4", "3");
    run();
    const QString csv = freshPath("wienbridge-samples.csv");
    choosingFile(csv, [&] { menuItem("Esporta campioni…")->trigger(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isRunning(); }, 60000));
    QProcess commandLine;
    commandLine.start(QStringLiteral(WIENBRIDGE_SIM), {"--n", "10", "--ratio", "3", "--samples"});
    ASSERT_TRUE(commandLine.waitForFinished());
    QFile exported(csv);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), commandLine.readAllStandardOutput());
    EXPECT_TRUE(errors.failures.empty());

    // A file that cannot be written, and an export stopped by closing the window.
    const QString unwritable = QDir::temp().filePath("no-such-folder/samples.csv");
    emit form->waveformWindow()->exportRequested({159.15e-6, 3, 10, 3}, unwritable);
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
