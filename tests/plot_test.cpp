#include <gtest/gtest.h>
#include <cmath>
#include <set>

#include "simulation/oscillator_model.h"
#include "tests/support/reference_model.h"
#include "tests/support/windows_fixture.h"
#include "waveform/plot_view.h"

using namespace wienbridge;
using namespace wienbridge::test;

namespace {

// The curve of these samples reduced per column as a run would hand them
// over, and stroked the plain way, a segment from each sample to the next.
std::pair<QImage, QImage> bothWays(const PlotGeometry& geometry, const std::vector<double>& vo)
{
    const double peak = std::fabs(*std::max_element(
        vo.begin(), vo.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); }));
    const auto count = static_cast<std::int64_t>(vo.size());
    PlotImage reduced(geometry), plain(geometry);
    CurveReduction curve(geometry);
    curve.begin(count);
    for (std::int64_t first = 0; first < count; first += 64) {
        const std::span<const double> block(vo.data() + first, std::min<std::int64_t>(64, count - first));
        const auto [lowest, highest] = std::minmax_element(block.begin(), block.end());
        curve.observeWithBounds(first + 1, block, block, {*lowest, *highest});
    }
    drawCurve(reduced, curve, curve.peak());  // the scale the reduction found itself
    for (std::int64_t k = 2; k <= count; ++k)
        plain.drawLine({sampleX(k - 1, count), curveY(vo[k - 2], peak)},
                       {sampleX(k, count), curveY(vo[k - 1], peak)}, QColor(255, 0, 0));
    return {reduced.image(), plain.image()};
}

}  // namespace

TEST(Plot, AxesAreTwentyTicksUpTheLeftFiveAlongTheBottomAndAPureRedZeroLine)
{
    PlotImage plot;
    prepareAxes(plot);
    QImage expected(901, 501, QImage::Format_RGB32);
    expected.fill(qRgb(255, 255, 192));
    for (int row = 0; row <= 475; row += 25)  // y = 100 down to 5, 0.2 wide
        for (int column = 0; column <= 2; ++column)
            expected.setPixel(column, row, qRgb(0, 0, 0));
    for (int column = 0; column <= 900; column += 225)  // x = 0 to 100, 0.5 high
        for (int row = 498; row <= 500; ++row)
            expected.setPixel(column, row, qRgb(0, 0, 0));
    for (int column = 0; column <= 900; ++column)  // over the tick at y = 50
        expected.setPixel(column, 250, kRed);
    EXPECT_TRUE(plot.image() == expected);
}

// Black pixels in the columns and rows given, first to last, those outside the image left out.
int blackIn(const QImage& image, int firstColumn, int lastColumn, int firstRow, int lastRow)
{
    const QRect area = QRect(QPoint(firstColumn, firstRow), QPoint(lastColumn, lastRow)) & image.rect();
    return count(image.copy(area), kBlack);
}

// At twice the pixels a line is two wide; at the edges it is moved inside, not cut.
TEST(Plot, TicksOnTheEdgesAreAsWideAsTheOthersOnAScaledScreen)
{
    PlotImage plot({1802, 1002, 2}, 2.0);
    prepareAxes(plot);
    std::set<int> bottomTicks;
    for (int x = 0; x <= 100; x += 25) {
        const int column = x * 1801 / 100;
        bottomTicks.insert(blackIn(plot.image(), column - 8, column + 8, 980, 1001));
    }
    std::set<int> leftTicks;
    for (int y = 100; y >= 5; y -= 5) {
        if (y == 50)
            continue;  // under the zero line
        const int row = (100 - y) * 1001 / 100;
        leftTicks.insert(blackIn(plot.image(), 0, 20, row - 8, row + 8));
    }
    EXPECT_EQ(bottomTicks.size(), 1u);
    EXPECT_EQ(leftTicks.size(), 1u);
}

// With one step per time constant the samples repeat 1, 0, -1, -1, 0, 1, one
// to each unit of x: the top of the curve (y = 98, row 10) is lit at the first
// sample and along the plateaus from x = 6 to 7, 12 to 13, ..., 96 to 97.
TEST(Plot, SamplesAreDrawnAtTheirTimes)
{
    PlotImage plot;
    CurveReduction curve(plot.geometry());
    drawCurve(plot, curve, simulate({159.15e-6, 3, 10, 2}, curve).Peak);
    std::string wrong;
    for (int column = 0; column < 901; ++column) {
        const bool plateau = column >= 54 && column % 54 <= 9;
        const bool lit = plot.image().pixel(column, 10) == kRed;
        if (lit != (column == 9 || plateau))
            wrong += std::to_string(column) + ' ';
    }
    EXPECT_EQ(wrong, "");
}

// A curve whose peak lies near the largest double is drawn as any other of the
// same shape: its heights fit although Vo * 48 would not.
TEST(Plot, APeakNearTheLargestDoubleIsDrawnAsAnyOther)
{
    const auto drawn = [](double peak) {
        const std::vector<double> vo{peak, -peak, peak / 2, -peak / 4};
        PlotImage plot;
        CurveReduction curve(plot.geometry());
        curve.begin(4);
        curve.observe(1, vo, vo);
        drawCurve(plot, curve, peak);
        return plot.image();
    };
    for (const double peak : {3.6e307, 1.7e308})
        EXPECT_TRUE(drawn(peak) == drawn(3)) << peak;
}

TEST(Plot, ReducedCurveLightsExactlyThePixelsOfEverySegment)
{
    std::vector<std::vector<double>> curves;
    for (double ratio : {1.0, 2.0, 3.0}) {
        for (std::int32_t n : {100, 1000, 20000, 200000}) {
            SampleRecorder run;
            simulate({159.15e-6, 3, n, ratio}, run);
            curves.push_back(std::move(run.vo));
        }
    }
    // Runs rarely put an extreme inside a column on another row than the column's
    // ends, so these do it on purpose: noise and single-sample spikes.
    for (std::int64_t count : {1000, 20000, 300000}) {
        std::vector<double> noise, spikes;
        for (std::int64_t k = 1; k <= count; ++k) {
            noise.push_back(static_cast<double>((k * 6364136223846793005ULL + 1442695040888963407ULL) >> 11)
                                * 0x1p-52
                            - 1);
            spikes.push_back(k % 97 == 0 ? 1.0 : k % 89 == 0 ? -0.8 : 0.01 * std::sin(double(k)));
        }
        curves.insert(curves.end(), {noise, spikes});
    }
    // At scale 1, and in the device pixels of screens at 1.5 and 2 times, where lines are widened.
    for (const PlotGeometry& geometry : {PlotGeometry{}, {1352, 752, 2}, {1802, 1002, 2}}) {
        for (std::size_t i = 0; i < curves.size(); ++i) {
            const auto [reduced, plain] = bothWays(geometry, curves[i]);
            EXPECT_TRUE(reduced == plain) << geometry.width << " curve " << i;
        }
    }
}

// A window of a run, computed as a zoom computes it (the model stopped at the
// window's end), lights the pixels of the whole run's samples stroked one by
// one across it, scaled to the largest |Vo| of those whose time lies inside;
// the segments into and out of the window reach the plot's edges.
TEST(Plot, AZoomedPlotLightsThePixelsOfItsSamplesDrawnDirectly)
{
    const struct {
        std::int32_t n;
        double ratio, start, end;
        PlotGeometry geometry;
    } windows[] = {
        {10, 2, 33.3, 38.9, {}},                   // a few samples
        {1000, 3, 90, 100, {}},                    // the growing curve's last tenth
        {100000, 1, 0.5, 10, {}},                  // the damped one's first, many samples a column
        {1000, 2, 12.34, 56.78, {1802, 1002, 2}},  // on a screen at twice the pixels
    };
    for (const auto& w : windows) {
        const RunInputs inputs{159.15e-6, 3, w.n, w.ratio};
        SampleRecorder whole;
        const std::int64_t count = simulate(inputs, whole).Samples;
        const TimeWindow window{w.start, w.end};
        const ViewCurves curves = curvesOfWindow(w.geometry, window, inputs, count, std::nullopt);
        computeNow(windowRun(inputs, std::nullopt, curves, std::make_shared<ProgressCounter>()));
        PlotImage zoomed(w.geometry), direct(w.geometry);
        drawCurves(zoomed, curves, curves.peak(0));

        double peak = 0;
        for (std::int64_t k = 1; k <= count; ++k)
            if (k * 100.0 / count >= w.start && k * 100.0 / count <= w.end)
                peak = std::max(peak, std::fabs(whole.vo[k - 1]));
        const SampleMapping mapping{count, 1.0, window};
        for (std::int64_t k = 2; k <= count; ++k)
            direct.drawLine({mapping.x(k - 1), curveY(whole.vo[k - 2], peak)},
                            {mapping.x(k), curveY(whole.vo[k - 1], peak)}, kRed);
        EXPECT_TRUE(zoomed.image() == direct.image()) << w.n << " from " << w.start;
    }
}
