#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "runtime/elementary_functions.h"

using namespace wienbridge;

// How far a result is from the true value, in units in the last place of the
// double nearest that value; where that double is not finite or is zero (NaN,
// the infinities, overflow, underflow, ln 1) the result must be exactly it.
static long double ulps(double ours, long double truth)
{
    const double nearest = static_cast<double>(truth);
    if (!std::isfinite(nearest) || nearest == 0)
        return ours == nearest || (std::isnan(ours) && std::isnan(nearest)) ? 0 : HUGE_VALL;
    return std::fabs(ours - truth) / std::ldexp(1.0L, std::max(std::ilogb(truth) - 52, -1074));
}

// Against the C library's long double functions. e^x over its whole domain
// (and beyond, to overflow and to 0), where it needs no reduction, and near 0;
// ln at e^x's true values, which spaces them geometrically over every double,
// subnormals included, and closely around 1; then both at the edges.
TEST(ElementaryFunctions, WithinOneUlpOfTheTrueValueOverEveryDouble)
{
    for (auto [from, to] : {std::pair{-746.0, 710.0}, {-0.35, 0.35}, {-1e-6, 1e-6}}) {
        long double off = 0;
        for (double t = 0; t <= 1; t += 1e-5) {
            const long double x = std::lerp(from, to, t), y = static_cast<double>(std::exp(x));
            off = std::max({off, ulps(exponential(x), std::exp(x)), ulps(naturalLogarithm(y), std::log(y))});
        }
        EXPECT_LT(off, 1) << from << " to " << to;
    }
    for (const long double x : {std::nanl(""), HUGE_VALL, -HUGE_VALL, 0.0L, -0.0L, -1.0L, 0x1p-1074L, 1e308L})
        EXPECT_LT(std::max(ulps(exponential(x), std::exp(x)), ulps(naturalLogarithm(x), std::log(x))), 1)
            << x;
}
