// One long session of a careless or hostile user: anything typed into the four
// boxes, the presets pressed with any mouse button, runs, the waveform window
// closed, the pointer moved over the plot, in random order. The session is the
// same on every run; a failure names the seed, the step and its action.
#include <QCoreApplication>
#include <QImage>
#include <QRegularExpression>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>

#include "colours.h"
#include "form1_fixture.h"
#include "plot_mapping.h"
#include "plot_picture.h"

using wienbridge::ErrorKind;

namespace {

constexpr std::uint64_t kSeed = 0x5eed'2024'0611ULL;
constexpr int kSteps = 600;

const char* const kBoxes[] = {"Text1", "Text2", "Text3", "Text4"};
const char* const kOptions[] = {"Option1", "Option2", "Option3", "Option4"};

// Values a user means, per box (CR, N, Fc, ratio); any mix of them is a run that completes.
const std::set<QString> kPlausible[] = {
    {"159.15", "100", "1000", "10", "47.5", "1", "0.5"},
    {"100", "10", "50", "3", "1", "2", "100.5", "101.5", "250", "1000", "2000"},
    {"3", "1", "10", "0.5", "100"},
    {"2", "1", "3", "0.5", "1.5", "2.00", "1.00", "3.00", "0.50", "1.50"},
};

// Sample counts no run can take, with the error they give beside plausible values.
const std::map<QString, ErrorKind> kImpossibleSampleCounts = {
    {"0", ErrorKind::DivisionByZero},
    {"-1", ErrorKind::SubscriptOutOfRange},
    {"214748364", ErrorKind::OutOfMemory},  // 10 N + 2 samples fit in 32 bits, not in memory
    {"214748365", ErrorKind::Overflow},     // 10 N does not fit in 32 bits
};

// Big but possible, and about a second long: at most once per session.
const QString kLargeSampleCount = QStringLiteral("5000000");

const char* const kWildTexts[] = {
    "", " ", "   ", "\t", " \t 3", "3 \t", ",", "1,5", "159,15", ",5", ".", "-", "+", "+3", "-3", "--3",
    "+-1", "- 3", "1e308", "1e309", "-1e309", "-1e-400", "1e-400", "15e", "1e", "e5", "1E3", "2.5e-3",
    "1e+2", "1e--2", "1.7976931348623157e308", "4.9e-324", "1e300", "1e-300", "1e154", "-1e308", "abc",
    "tre", "3abc", "0x10", "inf", "-inf", "nan", "NaN", "Infinity", "1d5", "١٢٣", "３", "π", "½", "€5",
    "µ", "3,5 µs", "🙂", "Ω", "１５９.１５", "159.15.15", "1..5", "0.000001", "999999999999",
    "2147483648", "-2147483649",
};

std::string printable(const QString& text)
{
    QString shown = text.size() > 48 ? text.left(40) + QStringLiteral("...(%1 chars)").arg(text.size()) : text;
    shown.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return '"' + shown.toStdString() + '"';
}

const char* buttonName(Qt::MouseButton button)
{
    return button == Qt::LeftButton ? "left" : button == Qt::RightButton ? "right" : "middle";
}

struct Step {
    std::string description;
    std::function<void()> act;  // empty when the step has nothing to act on
};

class HostileSession : public Form1Test {
protected:
    void SetUp() override
    {
        Form1Test::SetUp();
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        reference = std::make_unique<wienbridge::Form1>(referenceState, referenceErrors);
        reference->show();
    }

    void TearDown() override
    {
        reference.reset();
        Form1Test::TearDown();
    }

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random); }

    template <class Container>
    auto pickFrom(const Container& items)
    {
        auto it = std::begin(items);
        std::advance(it, pick(static_cast<int>(std::size(items))));
        return *it;
    }

    QString digits(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + pick(10));
        return text;
    }

    QString chooseText(int box)
    {
        switch (pick(10)) {
        case 0:
        case 1:
        case 2:
        case 3:
            return pickFrom(kPlausible[box]);
        case 4:
            if (box == 1)
                return QString::number(1 + pick(2000));
            return QString::number(std::uniform_real_distribution<double>(-10, 1000)(random), 'f', pick(5));
        case 5:
        case 6:
        case 7:
            return QString::fromUtf8(pickFrom(kWildTexts));
        case 8:
            // Beyond 309 integer digits a number no longer fits in a double.
            return chance(0.5) ? digits(1 + pick(400)) : QStringLiteral("0.") + QString(pick(400), u'0') + digits(3);
        default: {
            const QString pieces[] = {"1", "e", ",", " ", "\t", "-", "x", "é", "∞", "🙂", "9"};
            QString text;
            for (int i = 1 + pick(1500); i > 0; --i)
                text += pickFrom(pieces);
            return text;
        }
        }
    }

    // Types the text key by key as a user would; a tab cannot be typed into a
    // box and long texts would take long, so those are pasted.
    static void enter(QLineEdit* box, const QString& value)
    {
        box->setFocus();
        box->clear();
        if (value.size() > 40 || value.contains(QLatin1Char('\t'))) {
            box->setText(value);
        } else {
            for (qsizetype i = 0; i < value.size(); ++i) {
                if (value[i].unicode() < 128) {
                    QTest::keyClick(box, value[i].toLatin1());
                    continue;
                }
                // What a keyboard layout or an input method sends for other characters.
                const qsizetype length = value[i].isHighSurrogate() ? 2 : 1;
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, value.mid(i, length), Qt::NoModifier);
                i += length - 1;
            }
        }
        ASSERT_EQ(box->text().toStdString(), value.toStdString());
    }

    bool plausible(int box) const { return kPlausible[box].contains(text(kBoxes[box])->text()); }

    // The same four texts in a program that has done nothing else.
    void runReference()
    {
        for (const char* box : kBoxes)
            reference->findChild<QLineEdit*>(QLatin1String(box))->setText(text(box)->text());
        referenceState = wienbridge::ModuleState{};
        QTest::mouseClick(reference->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    }

    void run()
    {
        const std::size_t before = errors.kinds.size();
        pressRun();
        const bool completed = state.lastRunCompleted;
        ASSERT_EQ(errors.kinds.size(), before + (completed ? 0 : 1));
        ASSERT_NE(form->form2(), nullptr);
        if (completed) {
            ++completedRuns;
            EXPECT_TRUE(form->form2()->isVisible());
        } else {
            failuresByKind[errors.kinds.back()] += 1;
        }

        const bool othersPlausible = plausible(0) && plausible(2) && plausible(3);
        if (othersPlausible && plausible(1)) {
            EXPECT_TRUE(completed);
        }
        const auto impossible = kImpossibleSampleCounts.find(text("Text2")->text());
        if (impossible != kImpossibleSampleCounts.end()) {
            impossibleRuns.insert(impossible->first);
            ASSERT_FALSE(completed);
            if (othersPlausible) {
                EXPECT_EQ(errors.kinds.back(), impossible->second);
            }
        }

        // What a run shows depends on the four boxes only, not on what came before.
        runReference();
        ASSERT_EQ(referenceState.lastRunCompleted, completed);
        if (completed) {
            EXPECT_TRUE(referenceState.Vo == state.Vo) << "the samples differ";
            EXPECT_EQ(referenceState.Peak, state.Peak);
            EXPECT_TRUE(reference->form2()->picture1()->drawing() == form->form2()->picture1()->drawing())
                << "the plots differ";
        } else {
            EXPECT_EQ(referenceErrors.kinds.back(), errors.kinds.back());
        }
    }

    void pressPreset(int index, Qt::MouseButton button, bool holdFirst)
    {
        const QString typed = text("Text4")->text();
        const std::size_t before = errors.kinds.size();
        QRadioButton* target = option(kOptions[index]);
        if (holdFirst) {
            QTest::mousePress(target, button);
            QTest::mouseRelease(target, button);
        } else {
            QTest::mouseClick(target, button);
        }
        const QString shown = text("Text4")->text();
        if (index != 0) {
            static const QString fixed[] = {QString(), "2.00", "3.00", "1.00"};
            EXPECT_EQ(shown.toStdString(), fixed[index].toStdString());
            EXPECT_EQ(errors.kinds.size(), before);
            return;
        }
        ASSERT_LE(errors.kinds.size(), before + 1);
        static const QRegularExpression twoDecimals(QStringLiteral("^-?\\d+\\.\\d\\d$"));
        if (errors.kinds.size() > before) {
            EXPECT_EQ(shown.toStdString(), typed.toStdString());  // nothing rewritten
        } else {
            EXPECT_TRUE(twoDecimals.match(shown).hasMatch()) << shown.toStdString();
        }
    }

    void closeWaveform()
    {
        form->form2()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(form->form2(), nullptr);
        ++closes;
    }

    // The tooltip of a plot after the pointer moved to `at`, in Picture1's coordinates.
    static QString moveOver(wienbridge::Form2* window, QPoint at)
    {
        wienbridge::PlotPicture* plot = window->picture1();
        // Sent to the window itself, so that no other window in the way can take
        // it. Qt drops a move to where the pointer already is, so the pointer
        // first comes in from the window's corner, outside the plot.
        QTest::mouseMove(window->windowHandle(), QPoint(0, 0));
        QTest::mouseMove(window->windowHandle(), plot->mapTo(window, at));
        return plot->toolTip();
    }

    void movePointer(QPoint at)
    {
        const std::size_t before = errors.kinds.size();
        const QString tooltip = moveOver(form->form2(), at);
        ++moves;
        EXPECT_EQ(errors.kinds.size(), before)
            << "reported \"" << wienbridge::italianMessage(errors.kinds.back()) << "\" with CR " << state.CR << ", Peak "
            << state.Peak;
        if (state.lastRunCompleted) {
            EXPECT_TRUE(readout.match(tooltip).hasMatch()) << tooltip.toStdString();
        } else {
            EXPECT_TRUE(tooltip.isEmpty()) << tooltip.toStdString();
        }
        if (reference->form2() != nullptr && reference->form2()->isVisible()) {
            EXPECT_EQ(moveOver(reference->form2(), at).toStdString(), tooltip.toStdString());
        }
    }

    void expectAlive() const
    {
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->isEnabled());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(control<QPushButton>("Command1")->isEnabled());
    }

    Step typeAnything()
    {
        const int box = pick(4);
        const QString value = chooseText(box);
        return {"type " + printable(value) + " into " + kBoxes[box], [=, this] { enter(text(kBoxes[box]), value); }};
    }

    Step typeExtremeSampleCount()
    {
        QString value = pickFrom(kImpossibleSampleCounts).first;
        if (!largeRunTyped && chance(0.1)) {
            largeRunTyped = true;
            value = kLargeSampleCount;
        }
        return {"type " + printable(value) + " into Text2", [=, this] { enter(text("Text2"), value); }};
    }

    // The user puts right whatever does not look like a value meant for its box.
    Step correctTheBoxes()
    {
        std::string description = "type plausible values:";
        std::map<int, QString> corrections;
        for (int box = 0; box < 4; ++box) {
            if (plausible(box))
                continue;
            corrections[box] = pickFrom(kPlausible[box]);
            description += std::string(" ") + kBoxes[box] + " " + printable(corrections[box]);
        }
        return {description, [=, this] {
                    for (const auto& [box, value] : corrections)
                        enter(text(kBoxes[box]), value);
                }};
    }

    // Curves whose peak comes within a factor 50 of the largest double (CR 1 s,
    // Fc 1 THz, K = 1166 with N = 10, or K = 17 with N = 58): the model computes
    // them, so the plot must draw them and read them back up to its top edge.
    Step tryTheLargestCurves()
    {
        return {"type and run the largest curves, move to the top of Picture1", [this] {
                    const QString curves[][4] = {{"1000000", "10", "1000000", "1165"},
                                                 {"1000000", "58", "1000000", "16"}};
                    for (const auto& values : curves) {
                        SCOPED_TRACE(testing::Message() << "N = " << values[1].toStdString());
                        for (int box = 0; box < 4; ++box)
                            enter(text(kBoxes[box]), values[box]);
                        run();
                        if (HasFatalFailure())
                            return;
                        ASSERT_TRUE(state.lastRunCompleted) << "reported \""
                                                            << wienbridge::italianMessage(errors.kinds.back()) << '"';
                        movePointer(QPoint(form->form2()->picture1()->width() / 2, 0));
                    }
                }};
    }

    Step nextStep()
    {
        wienbridge::Form2* window = form->form2();
        const bool windowShown = window != nullptr && window->isVisible();
        const int action = pick(25);
        if (action < 9)
            return typeAnything();
        if (action < 10)
            return chance(0.8) ? typeExtremeSampleCount() : tryTheLargestCurves();
        if (action < 12)
            return correctTheBoxes();
        if (action < 15) {
            const int index = pick(4);
            const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
            const Qt::MouseButton button = pickFrom(buttons);
            const bool holdFirst = chance(0.5);
            return {std::string("press ") + kOptions[index] + " with the " + buttonName(button) + " button",
                    [=, this] { pressPreset(index, button, holdFirst); }};
        }
        if (action < 20) {
            std::string description = "click Command1 with";
            for (const char* box : kBoxes)
                description += " " + printable(text(box)->text());
            return {description, [this] { run(); }};
        }
        if (!windowShown)
            return {"nothing: no waveform window shown", {}};
        if (action < 21)
            return {"close Form2", [this] { closeWaveform(); }};
        wienbridge::PlotPicture* plot = window->picture1();
        const QPoint at(pick(plot->width()), pick(plot->height()));
        return {"move to (" + std::to_string(at.x()) + ", " + std::to_string(at.y()) + ") on Picture1",
                [=, this] { movePointer(at); }};
    }

    std::mt19937_64 random{kSeed};
    wienbridge::ModuleState referenceState;
    wienbridge::RecordingErrorReport referenceErrors;
    std::unique_ptr<wienbridge::Form1> reference;
    const QRegularExpression readout{QStringLiteral("^t = -?\\d+,\\d{3} usec\" ; vo\\(t\\) = -?\\d+,\\d{2}V$")};

    bool largeRunTyped = false;
    int completedRuns = 0;
    int closes = 0;
    int moves = 0;
    std::map<ErrorKind, int> failuresByKind;
    std::set<QString> impossibleRuns;
};

TEST_F(HostileSession, ProgramStaysConsistentWhateverTheUserDoes)
{
    for (int step = 1; step <= kSteps; ++step) {
        const Step next = nextStep();
        SCOPED_TRACE(testing::Message() << "seed " << kSeed << ", step " << step << ": " << next.description);
        if (next.act)
            next.act();
        expectAlive();
        if (HasFailure())
            return;
    }

    // The session went through what it is meant to.
    int failedRuns = 0;
    for (const auto& [kind, count] : failuresByKind)
        failedRuns += count;
    EXPECT_GE(completedRuns, 30);
    EXPECT_GE(failedRuns, 30);
    EXPECT_GE(failuresByKind.size(), 4u);
    EXPECT_GE(closes, 5);
    EXPECT_GE(moves, 50);
    for (const auto& [sampleCount, kind] : kImpossibleSampleCounts)
        EXPECT_TRUE(impossibleRuns.contains(sampleCount)) << "never ran N = " << sampleCount.toStdString();

    // And the program still draws the default oscillation as at start.
    setText("Text1", QStringLiteral("159.15"));
    setText("Text2", QStringLiteral("100"));
    setText("Text3", QStringLiteral("3"));
    setText("Text4", QStringLiteral("2"));
    const std::size_t before = errors.kinds.size();
    pressRun();
    ASSERT_TRUE(state.lastRunCompleted);
    EXPECT_EQ(errors.kinds.size(), before);
    ASSERT_NE(form->form2(), nullptr);
    ASSERT_TRUE(form->form2()->isVisible());

    const QImage image = form->form2()->picture1()->drawing();
    const QColor red = wienbridge::colours::red();
    constexpr int kZeroRow = 250;
    int top = wienbridge::kPlotHeight;
    int bottom = -1;
    for (int column = 0; column < wienbridge::kPlotWidth; ++column) {
        EXPECT_EQ(image.pixelColor(column, kZeroRow), red) << "zero line, column " << column;
        bool curve = false;
        for (int row = 0; row < wienbridge::kPlotHeight; ++row) {
            if (row == kZeroRow || image.pixelColor(column, row) != red)
                continue;
            curve = true;
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
        // The curve runs from x = 0.1 to x = 100: every column but the first.
        EXPECT_EQ(curve, column != 0) << "column " << column;
    }
    // y = 98 is row 10 and y = 2 is row 490: the sustained swing reaches both, no further.
    EXPECT_EQ(top, 10);
    EXPECT_EQ(bottom, 490);

    RecordProperty("completed_runs", completedRuns);
    RecordProperty("failed_runs", failedRuns);
}

}  // namespace
