#include "plot_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "colours.h"
#include "error_report.h"
#include "line_raster.h"
#include "plot_picture.h"
#include "run_sequence.h"
#include "waveform_test_support.h"

namespace wienbridge {
namespace {

using testing::completedRun;
using testing::countColour;
using testing::hasColour;

constexpr int kZeroRow = 250;
constexpr int kBottomRow = kPlotHeight - 1;

std::set<int> rowsWithColour(const QImage& image, int column, const QColor& colour)
{
    std::set<int> rows;
    for (int row = 0; row < image.height(); ++row)
        if (hasColour(image, column, row, colour))
            rows.insert(row);
    return rows;
}

std::set<int> columnsWithColour(const QImage& image, int row, const QColor& colour)
{
    std::set<int> columns;
    for (int column = 0; column < image.width(); ++column)
        if (hasColour(image, column, row, colour))
            columns.insert(column);
    return columns;
}

TEST(Axes, TwentyTicksUpTheLeftEdgeFiveAlongTheBottomAndARedZeroLine)
{
    PlotPicture picture;
    prepareAxes(picture);
    const QImage image = picture.drawing();
    const QColor ink = picture.foregroundColour();

    // Ticks at y = 100, 95, ..., 5, 0.2 wide: columns 0 to 2. The one at
    // y = 50 lies under the zero line; there is none at y = 0.
    std::set<int> tickRows;
    for (int y = 100; y >= 5; y -= 5)
        if (y != 50)
            tickRows.insert((100 - y) * 5);
    EXPECT_EQ(rowsWithColour(image, 2, ink), tickRows);
    EXPECT_TRUE(rowsWithColour(image, 3, ink).empty());

    // Ticks at x = 0, 25, ..., 100, 0.5 high: rows 498 to 500.
    const std::set<int> tickColumns{0, 225, 450, 675, 900};
    for (int row = kBottomRow - 2; row <= kBottomRow; ++row)
        EXPECT_EQ(columnsWithColour(image, row, ink), tickColumns) << "row " << row;
    EXPECT_FALSE(hasColour(image, 225, kBottomRow - 3, ink));

    EXPECT_EQ(columnsWithColour(image, kZeroRow, colours::red()).size(), std::size_t{kPlotWidth});
    EXPECT_EQ(countColour(image, colours::red()), kPlotWidth);
    EXPECT_EQ(countColour(image, ink), 19 * 3 + 5 * 3);
}

TEST(Curve, DefaultSustainedRunSpansTwoToNinetyEightAcrossTheWholeWidth)
{
    const ModuleState state = completedRun("2");
    PlotPicture picture;
    prepareAxes(picture);
    drawCurve(picture, state);
    const QImage image = picture.drawing();

    int top = kPlotHeight;
    int bottom = -1;
    std::set<int> columns;
    for (int row = 0; row < kPlotHeight; ++row) {
        if (row == kZeroRow)
            continue;
        for (int column : columnsWithColour(image, row, colours::red())) {
            top = std::min(top, row);
            bottom = std::max(bottom, row);
            columns.insert(column);
        }
    }
    // y = 98 and y = 2 are rows 10 and 490; the peak sample touches one of them.
    EXPECT_GE(top, 10);
    EXPECT_LE(bottom, 490);
    EXPECT_TRUE(top == 10 || bottom == 490) << top << " " << bottom;
    EXPECT_LE(top, 11);
    EXPECT_GE(bottom, 489);
    // From x = 0.1 (column 1) to x = 100 (column 900), with no column left out.
    EXPECT_EQ(*columns.begin(), 1);
    EXPECT_EQ(*columns.rbegin(), kPlotWidth - 1);
    EXPECT_EQ(columns.size(), std::size_t{kPlotWidth - 1});
}

TEST(Curve, AllZeroSamplesStopTheRunWithAnInvalidOperationAfterTheAxes)
{
    ModuleState state;
    testing::BarePlot sink;
    RecordingErrorReport errors;
    readRatio(state, "2");
    runReportingErrors(errors, [&] { runSequence(state, {"159.15", "100", "0"}, sink); });

    EXPECT_EQ(errors.kinds, std::vector<ErrorKind>{ErrorKind::InvalidOperation});
    EXPECT_FALSE(state.lastRunCompleted);
    const QImage image = sink.picture.drawing();
    EXPECT_EQ(countColour(image, sink.picture.foregroundColour()), 19 * 3 + 5 * 3);
    EXPECT_EQ(countColour(image, colours::red()), kPlotWidth);
}

TEST(Curve, SampleCountWhoseTenfoldOverflowsFailsBeforeDrawing)
{
    ModuleState state;
    state.N = 300'000'000;
    state.Peak = 1;
    PlotPicture picture;
    try {
        drawCurve(picture, state);
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow);
    }
    EXPECT_EQ(countColour(picture.drawing(), colours::red()), 0);
}

// The curve drawn both ways, and the error each way raised (if any).
struct BothStrokes {
    QImage reduced;
    QImage everySegment;
    std::vector<ErrorKind> reducedErrors;
    std::vector<ErrorKind> everySegmentErrors;
};

BothStrokes drawBothWays(const ModuleState& state)
{
    BothStrokes result;
    PlotPicture reduced;
    PlotPicture everySegment;
    RecordingErrorReport reducedErrors;
    RecordingErrorReport everySegmentErrors;
    runReportingErrors(reducedErrors, [&] { drawCurve(reduced, state, CurveStroke::ReducedPerColumn); });
    runReportingErrors(everySegmentErrors, [&] { drawCurve(everySegment, state, CurveStroke::EverySegment); });
    return {reduced.drawing(), everySegment.drawing(), reducedErrors.kinds, everySegmentErrors.kinds};
}

int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

struct CurveCase {
    const char* ratio;
    const char* sampleCount;
};

void PrintTo(const CurveCase& c, std::ostream* out)
{
    *out << "ratio " << c.ratio << ", N " << c.sampleCount;
}

class ReducedCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(ReducedCurve, LightsExactlyThePixelsOfEverySegment)
{
    const ModuleState state = completedRun(GetParam().ratio, GetParam().sampleCount);
    const BothStrokes drawn = drawBothWays(state);
    EXPECT_TRUE(drawn.reducedErrors.empty());
    EXPECT_TRUE(drawn.everySegmentErrors.empty());
    EXPECT_GT(countColour(drawn.reduced, colours::red()), kPlotWidth);
    EXPECT_EQ(differingPixels(drawn.reduced, drawn.everySegment), 0);
}

std::string caseName(const ::testing::TestParamInfo<CurveCase>& info)
{
    const std::string ratio = info.param.ratio;
    const std::string kind = ratio == "1" ? "Damped" : ratio == "2" ? "Sustained" : "Growing";
    return kind + "N" + info.param.sampleCount;
}

INSTANTIATE_TEST_SUITE_P(Curves, ReducedCurve,
                         ::testing::Values(CurveCase{"2", "100"}, CurveCase{"1", "100"}, CurveCase{"3", "100"},
                                           CurveCase{"2", "1000"}, CurveCase{"1", "1000"}, CurveCase{"3", "1000"},
                                           CurveCase{"2", "20000"}, CurveCase{"1", "20000"},
                                           CurveCase{"3", "20000"}, CurveCase{"2", "200000"},
                                           CurveCase{"1", "200000"}, CurveCase{"3", "200000"}),
                         caseName);

// Runs rarely put an extreme inside a column where it rounds to another row
// than the column's ends (a normalised peak lands on a whole row), so these
// curves do it on purpose: noise, a slow wave whose crests fall between rows,
// and single-sample spikes.
ModuleState syntheticCurve(std::int32_t n, double (*shape)(std::int64_t k))
{
    ModuleState state;
    state.N = n;
    state.Vo.assign(static_cast<std::size_t>(10 * n) + 2, 0.0);
    for (std::int64_t k = 1; k <= 10 * n; ++k) {
        state.Vo[static_cast<std::size_t>(k)] = shape(k);
        state.Peak = std::max(state.Peak, std::abs(shape(k)));
    }
    return state;
}

double noise(std::int64_t k)
{
    const std::uint64_t bits = static_cast<std::uint64_t>(k) * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(bits >> 11) / 9007199254740992.0 * 2 - 1;
}

double slowWave(std::int64_t k)
{
    return 0.7 * std::sin(static_cast<double>(k) * 0.0123) + 0.3 * std::sin(static_cast<double>(k) * 0.00071);
}

double spikes(std::int64_t k)
{
    return k % 97 == 0 ? 1.0 : k % 89 == 0 ? -0.8 : 0.01 * std::sin(static_cast<double>(k));
}

TEST(SyntheticCurve, ReducedLightsExactlyThePixelsOfEverySegmentWithExtremesInsideColumns)
{
    for (auto shape : {noise, slowWave, spikes}) {
        for (std::int32_t n : {100, 2'000, 30'000}) {
            const BothStrokes drawn = drawBothWays(syntheticCurve(n, shape));
            EXPECT_TRUE(drawn.reducedErrors.empty());
            EXPECT_EQ(differingPixels(drawn.reduced, drawn.everySegment), 0) << "N = " << n;
        }
    }
}

TEST(ReducedCurveFailure, StopsAtTheFirstFailingSampleLikeEverySegment)
{
    ModuleState state = completedRun("2", "20000");
    // Vo * 48 overflows at this sample, in the middle of a column.
    const std::size_t failing = 123'457;
    state.Vo[failing] = std::numeric_limits<double>::max();
    const BothStrokes drawn = drawBothWays(state);
    EXPECT_EQ(drawn.reducedErrors, std::vector<ErrorKind>{ErrorKind::Overflow});
    EXPECT_EQ(drawn.everySegmentErrors, std::vector<ErrorKind>{ErrorKind::Overflow});
    EXPECT_EQ(differingPixels(drawn.reduced, drawn.everySegment), 0);

    // Nothing right of the sample before the failing one.
    const int lastColumn = static_cast<int>(nearestPixel(failing * 900.0 / 200'000));
    EXPECT_GT(rowsWithColour(drawn.reduced, lastColumn - 1, colours::red()).size(), 0U);
    EXPECT_TRUE(rowsWithColour(drawn.reduced, lastColumn + 1, colours::red()).empty());
}

TEST(ReducedCurveFailure, SamplesBeyondTheArrayAreASubscriptErrorAfterTheOnesWithin)
{
    ModuleState state = completedRun("2", "1000");
    state.Vo.resize(5001);
    const BothStrokes drawn = drawBothWays(state);
    EXPECT_EQ(drawn.reducedErrors, std::vector<ErrorKind>{ErrorKind::SubscriptOutOfRange});
    EXPECT_EQ(drawn.everySegmentErrors, std::vector<ErrorKind>{ErrorKind::SubscriptOutOfRange});
    EXPECT_EQ(differingPixels(drawn.reduced, drawn.everySegment), 0);
    EXPECT_GT(rowsWithColour(drawn.reduced, 449, colours::red()).size(), 0U);
    EXPECT_TRUE(rowsWithColour(drawn.reduced, 451, colours::red()).empty());
}

}  // namespace
}  // namespace wienbridge
