#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

#include "oscillator_model.h"
#include "support/every_segment.h"
#include "support/reference_model.h"

using namespace wienbridge;

namespace {

std::set<std::pair<int, int>> pixelsOf(const QImage& image, QRgb colour)
{
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                pixels.insert({x, y});
    return pixels;
}

// The curve of these samples (or of this run) reduced per column, and stroked
// segment by segment, on plots of the given geometry.
std::pair<QImage, QImage> bothWays(const PlotGeometry& geometry, const std::vector<double>& vo)
{
    double peak = 0;
    for (double v : vo)
        peak = std::max(peak, std::fabs(v));
    PlotImage reduced(geometry), plain(geometry);
    CurveReduction curve(static_cast<std::int64_t>(vo.size()), geometry);
    test::EverySegment segments(plain, static_cast<std::int64_t>(vo.size()), peak);
    for (std::size_t first = 0; first < vo.size(); first += 1000) {
        const std::span<const double> block(vo.data() + first, std::min<std::size_t>(1000, vo.size() - first));
        curve.observe(static_cast<std::int64_t>(first) + 1, block, block);
        segments.observe(static_cast<std::int64_t>(first) + 1, block, block);
    }
    drawCurve(reduced, curve, peak);
    return {reduced.image(), plain.image()};
}

}  // namespace

TEST(Plot, AxesAreTwentyTicksUpTheLeftFiveAlongTheBottomAndAPureRedZeroLine)
{
    PlotImage plot;
    prepareAxes(plot, QColor(0, 0, 0));
    std::set<std::pair<int, int>> ticks;
    for (int row = 0; row <= 475; row += 25)  // y = 100 down to 5, 0.2 wide; y = 50 lies under the zero line
        for (int column = 0; column <= 2 && row != 250; ++column)
            ticks.insert({column, row});
    for (int column = 0; column <= 900; column += 225)  // x = 0 to 100, 0.5 high
        for (int row = 498; row <= 500; ++row)
            ticks.insert({column, row});
    EXPECT_EQ(pixelsOf(plot.image(), qRgb(0, 0, 0)), ticks);
    EXPECT_EQ(pixelsOf(plot.image(), qRgb(255, 0, 0)).size(), 901u);
    for (int column = 0; column <= 900; ++column)
        ASSERT_EQ(plot.image().pixel(column, 250), qRgb(255, 0, 0)) << column;
}

TEST(Plot, ReducedCurveLightsExactlyThePixelsOfEverySegment)
{
    std::vector<std::vector<double>> curves;
    for (double ratio : {1.0, 2.0, 3.0}) {
        for (std::int32_t n : {100, 1000, 20000, 200000}) {
            test::SampleRecorder run;
            simulate({159.15e-6, 3, n, ratio}, run);
            curves.push_back(std::move(run.vo));
        }
    }
    // Runs rarely put an extreme inside a column on another row than the column's
    // ends, so these do it on purpose: noise, a slow wave whose crests fall
    // between rows, single-sample spikes.
    for (std::int64_t count : {1000, 20000, 300000}) {
        std::vector<double> noise, wave, spikes;
        for (std::int64_t k = 1; k <= count; ++k) {
            noise.push_back(static_cast<double>((k * 6364136223846793005ULL + 1442695040888963407ULL) >> 11) * 0x1p-52 - 1);
            wave.push_back(0.7 * std::sin(k * 0.0123) + 0.3 * std::sin(k * 0.00071));
            spikes.push_back(k % 97 == 0 ? 1.0 : k % 89 == 0 ? -0.8 : 0.01 * std::sin(double(k)));
        }
        curves.insert(curves.end(), {noise, wave, spikes});
    }
    // At scale 1, and in the device pixels of screens at 1.5 and 2 times, where lines are widened.
    for (const PlotGeometry& geometry : {PlotGeometry{}, {1352, 752, 2}, {1802, 1002, 2}}) {
        for (std::size_t i = 0; i < curves.size(); ++i) {
            const auto [reduced, plain] = bothWays(geometry, curves[i]);
            const auto* pixels = reinterpret_cast<const QRgb*>(reduced.constBits());
            EXPECT_GE(std::count(pixels, pixels + reduced.sizeInBytes() / 4, qRgb(255, 0, 0)),
                      geometry.width * geometry.lineWidth) << geometry.width << " curve " << i;
            EXPECT_TRUE(reduced == plain) << geometry.width << " curve " << i;
        }
    }
}

TEST(Plot, CurveOfSilenceCannotBeScaledAndDrawsNothing)
{
    PlotImage plot;
    std::vector<double> zeros(1000, 0.0);
    CurveReduction curve(1000, plot.geometry());
    curve.observe(1, zeros, zeros);
    EXPECT_EQ(test::failureOf([&] { drawCurve(plot, curve, 0.0); }), ErrorKind::InvalidOperation);
    EXPECT_TRUE(pixelsOf(plot.image(), qRgb(255, 0, 0)).empty());
}
