#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>

#include "checked_int.h"
#include "float_check.h"
#include "number_format.h"
#include "number_reading.h"
#include "rounding.h"
#include "runtime_error.h"
#include "support/failure.h"

using namespace wienbridge;
using reference::failureOf;

TEST(Rounding, NearestWithHalvesToEven)
{
    EXPECT_EQ(roundToInt32(readNumber("100.5")), 100);
    EXPECT_EQ(roundToInt32(readNumber("101.5")), 102);
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_EQ(roundToInt32(-2.5), -2);
    EXPECT_EQ(roundToInt32(-3.5), -4);
    EXPECT_EQ(roundToInt32(2.4999999999999996), 2);
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(roundToInt32(-2147483648.5), -2147483647 - 1);
}

TEST(Rounding, OutOfRangeIsAnOverflow)
{
    EXPECT_EQ(failureOf([] { roundToInt32(2147483647.5); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { roundToInt32(-2147483649.0); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { roundToInt32(NAN); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { roundToInt32(INFINITY); }), ErrorKind::Overflow);
}

TEST(Formatting, FixedDecimalsWithTheGivenSeparator)
{
    EXPECT_EQ(formatFixed(318.3, 3, ","), "318,300");
    EXPECT_EQ(formatFixed(0.75, 2, ","), "0,75");
    EXPECT_EQ(formatFixed(2, 2, "."), "2.00");
    EXPECT_EQ(formatFixed(12.5, 2, ","), "12,50");
    EXPECT_EQ(formatFixed(-0.75, 2, "."), "-0.75");
    EXPECT_EQ(formatFixed(0.004, 2, "."), "0.00");
    EXPECT_EQ(formatFixed(1234567.891, 2, "."), "1234567.89");
    EXPECT_EQ(formatFixed(1e21, 2, "."), "1000000000000000000000.00");
}

TEST(Formatting, ZeroNeverCarriesASign)
{
    EXPECT_EQ(formatFixed(-0.0, 2, ","), "0,00");
    EXPECT_EQ(formatFixed(-0.001, 2, ","), "0,00");
    EXPECT_EQ(formatFixed(-0.0004, 3, "."), "0.000");
}

TEST(CheckedIntegers, OverflowIsAnError)
{
    EXPECT_EQ(checkedMul(10, 214748364), 2147483640);
    EXPECT_EQ(failureOf([] { checkedMul(10, 214748365); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { checkedAdd(2147483647, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { checkedSub(3, -2147483647); }), ErrorKind::Overflow);
    EXPECT_EQ(checkedSub(3, 4), -1);
}

TEST(FloatingPointCheck, FailingStatementsRaiseTheirKind)
{
    const double zero = 0.0;
    const double huge = DBL_MAX;
    EXPECT_EQ(failureOf([&] { checkedStatement([](double z) { return 1 / z; }, zero); }),
              ErrorKind::DivisionByZero);
    EXPECT_EQ(failureOf([&] { checkedStatement([](double h) { return h * 2; }, huge); }),
              ErrorKind::Overflow);
    EXPECT_EQ(failureOf([&] { checkedStatement([](double z) { return z / z; }, zero); }),
              ErrorKind::InvalidOperation);
}

TEST(FloatingPointCheck, AnInfinityHiddenInsideAStatementStillFails)
{
    // 5 / (5 * (1 / 0) + 1) comes out 0, a finite value, after dividing by zero.
    EXPECT_EQ(failureOf([] {
                  checkedStatement([](double a, double r) { return a / (a * (1 / (r + 1)) + 1); },
                                   5.0, -1.0);
              }),
              ErrorKind::DivisionByZero);
}

TEST(FloatingPointCheck, UnderflowAndInexactPass)
{
    EXPECT_EQ(checkedStatement([](double t) { return t * t; }, 1e-200), 0.0);
    const double subnormal = checkedStatement([](double m) { return m / 4; }, DBL_MIN);
    EXPECT_EQ(subnormal, DBL_MIN / 4);
    EXPECT_GT(subnormal, 0.0);
    EXPECT_EQ(checkedStatement([](double x) { return x / 3; }, 1.0), 1.0 / 3);
}

TEST(RunTimeError, NamesItsKindInItalian)
{
    EXPECT_STREQ(RuntimeError(ErrorKind::DivisionByZero).what(), "Divisione per zero");
    EXPECT_EQ(RuntimeError(ErrorKind::OutOfMemory).kind(), ErrorKind::OutOfMemory);
    for (auto kind : {ErrorKind::Overflow, ErrorKind::SubscriptOutOfRange, ErrorKind::InvalidOperation})
        EXPECT_FALSE(italianMessage(kind).empty());
}
