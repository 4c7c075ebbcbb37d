#include <gtest/gtest.h>
#include <chrono>
#include <cmath>
#include <numeric>
#include <thread>

#include "run/sweep_run.h"
#include "tests/support/reference_model.h"

using namespace wienbridge;
using namespace wienbridge::test;

// The ends exactly as given; between them equal steps or equal ratios, the
// ratios to within the last bits of the project's e^x and ln.
TEST(Sweep, PointsEndExactlyAtFromAndToAndKeepTheirSpacing)
{
    const struct {
        SweepRange range;
        int index;
        double expected;
        double tolerance;  // relative
    } ranges[] = {
        {{SweptInput::SampleCount, 10, 1000, 5, Spacing::Linear}, 1, 257.5, 0},
        {{SweptInput::Ratio, 3, -1, 5, Spacing::Linear}, 3, 0, 0},
        {{SweptInput::Crossover, 0.001, 10, 5, Spacing::Geometric}, 2, 0.1, 2e-15},
        {{SweptInput::Crossover, 3, 0.0005, 64, Spacing::Geometric},
         21,
         3 * std::pow(0.0005 / 3, 21.0 / 63),
         1e-14},
        {{SweptInput::TimeConstant, 1e-150, 1e150, 3, Spacing::Geometric},
         1,
         1,
         1e-15},  // no ratio overflows
    };
    for (const auto& r : ranges) {
        SCOPED_TRACE(r.range.from);
        EXPECT_TRUE(sameBits(sweepValue(r.range, 0), r.range.from));
        EXPECT_TRUE(sameBits(sweepValue(r.range, r.range.count - 1), r.range.to));
        EXPECT_NEAR(sweepValue(r.range, r.index), r.expected, r.tolerance * std::fabs(r.expected));
    }
}

// However slowly the points are taken, they come in order, each once: the
// workers wait rather than run more than a few points ahead.
TEST(Sweep, PointsComeInOrderHoweverSlowlyTheyAreTaken)
{
    const SweepRange range{SweptInput::Ratio, 0, 3, 40, Spacing::Linear};
    std::vector<int> order;
    std::stop_source stop;  // at the first point out of turn: the one it took the place of never comes
    EXPECT_TRUE(
        runSweep({"159.15", "10", "3", "2"}, range, 2, stop.get_token(), [&](const SweepPoint& point) {
            if (order.empty())
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(100));  // the workers finish the rest meanwhile
            if (point.index != static_cast<int>(order.size()))
                stop.request_stop();
            order.push_back(point.index);
        }));
    std::vector<int> expected(40);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
}
