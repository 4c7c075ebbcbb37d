#include "line_raster.h"

#include <cmath>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace wienbridge {
namespace {

using Pixels = std::set<std::pair<int, int>>;  // (column, row)

constexpr std::uint32_t kInk = 0xFFFF0000;

// A small buffer inside a larger block, so that a pixel written past its edges
// would land where the test can see it.
class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), block_((width + 2 * kMargin) * (height + 2 * kMargin), 0)
    {
    }

    PixelBuffer buffer()
    {
        const std::ptrdiff_t stride = width_ + 2 * kMargin;
        return {block_.data() + kMargin * stride + kMargin, stride, width_, height_};
    }

    Pixels stroke(DevicePoint from, DevicePoint to)
    {
        strokeSegment(buffer(), from, to, kInk);
        return lit();
    }

    // Lit pixels, including any outside the buffer (as negative or too large indices).
    Pixels lit() const
    {
        Pixels result;
        const int stride = width_ + 2 * kMargin;
        for (std::size_t i = 0; i < block_.size(); ++i)
            if (block_[i] == kInk)
                result.insert({static_cast<int>(i % stride) - kMargin, static_cast<int>(i / stride) - kMargin});
        return result;
    }

private:
    static constexpr int kMargin = 3;
    int width_;
    int height_;
    std::vector<std::uint32_t> block_;
};

TEST(LineRaster, HorizontalAndVerticalLinesLightOneRowOrColumnBetweenTheirEnds)
{
    EXPECT_EQ(Canvas(10, 5).stroke({1, 2}, {6, 2}),
              (Pixels{{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}}));
    EXPECT_EQ(Canvas(10, 5).stroke({3, 4}, {3, 0}), (Pixels{{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}}));
    // Ends go to the nearest pixel centre, halves upwards.
    EXPECT_EQ(Canvas(10, 5).stroke({0.4, 1.6}, {2.5, 1.6}), (Pixels{{0, 2}, {1, 2}, {2, 2}, {3, 2}}));
}

TEST(LineRaster, SteepLineFillsEachColumnOverTheRowsItCrosses)
{
    // Slope 4: half a column spans two rows, a whole column four.
    EXPECT_EQ(Canvas(5, 10).stroke({0, 0}, {2, 8}),
              (Pixels{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {2, 6}, {2, 7}, {2, 8}}));
}

TEST(LineRaster, ShallowLineLightsOnePixelPerColumnExceptWhereItCrossesARowBoundary)
{
    EXPECT_EQ(Canvas(10, 4).stroke({0, 0}, {8, 2}),
              (Pixels{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {6, 2}, {7, 2}, {8, 2}}));
}

TEST(LineRaster, SegmentWithinOnePixelLightsThatPixel)
{
    EXPECT_EQ(Canvas(5, 5).stroke({2.1, 3.2}, {2.3, 3.4}), (Pixels{{2, 3}}));
    EXPECT_EQ(Canvas(5, 5).stroke({1, 1}, {1, 1}), (Pixels{{1, 1}}));
}

TEST(LineRaster, DirectionDoesNotMatter)
{
    const DevicePoint segments[][2] = {
        {{0.3, 7.9}, {6.6, 0.2}}, {{1.5, 0.5}, {8.5, 3.5}}, {{2.2, 1.1}, {2.7, 6.3}}, {{0, 4.5}, {9, 4.5}}};
    for (const auto& s : segments)
        EXPECT_EQ(Canvas(10, 8).stroke(s[0], s[1]), Canvas(10, 8).stroke(s[1], s[0]));
}

TEST(LineRaster, ClipsToTheBuffer)
{
    // The visible part of a clipped diagonal is what an unclipped one lights.
    EXPECT_EQ(Canvas(6, 6).stroke({-5, -5}, {15, 15}), Canvas(6, 6).stroke({0, 0}, {5, 5}));
    EXPECT_EQ(Canvas(6, 6).stroke({-3, -1}, {-1, 4}), Pixels{});
    EXPECT_EQ(Canvas(6, 6).stroke({2, -4}, {2, 9}).size(), 6U);

    // Far-away ends neither overflow nor take long.
    Pixels row;
    for (int x = 0; x < 6; ++x)
        row.insert({x, 2});
    EXPECT_EQ(Canvas(6, 6).stroke({-1e30, 2}, {1e30, 2}), row);
    EXPECT_EQ(Canvas(6, 6).stroke({3, -1e300}, {3, 1e300}).size(), 6U);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Canvas(6, 6).stroke({nan, 1}, {3, 3}), Pixels{});
    EXPECT_EQ(Canvas(6, 6).stroke({1, nan}, {1, 3}), Pixels{});
}

}  // namespace
}  // namespace wienbridge
