#include "runtime/elementary_functions.h"

#include <bit>
#include <cstdint>
#include <limits>

namespace wienbridge {

namespace {

// ln 2 split in two: the high part has 32 significant bits, so k * kLn2High is
// exact for every k the exponent range allows, and x - k ln 2 loses nothing.
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kInverseLn2 = 1.44269504088896338700e+00;
constexpr double kTwoTo54 = 18014398509481984.0;

// 2^n for a normal n (-1022 to 1023), written straight into the exponent bits:
// exact, and no library call whose rounding could differ.
double powerOfTwo(int n)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}

// y * 2^k for y near 1, rounded once: the product of y by a power of two that
// keeps it normal is exact, so only the last factor rounds (into a subnormal,
// or past the largest double to infinity).
double scaleByPowerOfTwo(double y, int k)
{
    if (k > 1023)
        return y * 2.0 * powerOfTwo(k - 1);
    if (k < -1021)
        return y * powerOfTwo(k + 1000) * powerOfTwo(-1000);
    return y * powerOfTwo(k);
}

}  // namespace

// x = k ln 2 + r with |r| <= ln 2 / 2, and e^r from a rational approximation
// of r (e^r + 1) / (e^r - 1) whose error stays below 2^-58 on that interval;
// e^r is 1 plus a small correction formed first and added last, so that the
// correction's own rounding errors are a fraction of an ulp of the result.
double exponential(double x)
{
    constexpr double kOverflow = 7.09782712893383973096e+02;    // ln of the largest double
    constexpr double kUnderflow = -7.45133219101941108420e+02;  // ln of half the smallest subnormal
    if (x != x)
        return x;
    if (x > kOverflow)
        return std::numeric_limits<double>::infinity();
    if (x < kUnderflow)
        return 0.0;
    constexpr double kP1 = 1.66666666666666019037e-01;
    constexpr double kP2 = -2.77777777770155933842e-03;
    constexpr double kP3 = 6.61375632143793436117e-05;
    constexpr double kP4 = -1.65339022054652515390e-06;
    constexpr double kP5 = 4.13813679705723846039e-08;

    if (x > -0x1.0p-28 && x < 0x1.0p-28)
        return 1.0 + x;  // e^x rounds to 1 + x; squaring so small an x could raise a needless underflow
    int k = 0;
    double high = x;
    double low = 0.0;
    if (x > 0.5 * kLn2High || x < -0.5 * kLn2High) {
        // Truncating x / ln 2 + 1/2 (toward zero) gives the nearest k on every platform.
        k = static_cast<int>(kInverseLn2 * x + (x < 0 ? -0.5 : 0.5));
        high = x - k * kLn2High;
        low = k * kLn2Low;
    }
    const double r = high - low;
    const double t = r * r;
    const double c = r - t * (kP1 + t * (kP2 + t * (kP3 + t * (kP4 + t * kP5))));
    if (k == 0)
        return 1.0 - ((r * c) / (c - 2.0) - r);
    const double y = 1.0 - ((low - (r * c) / (2.0 - c)) - high);
    return scaleByPowerOfTwo(y, k);
}

// x = 2^k (1 + f) with sqrt(2)/2 <= 1 + f < sqrt(2), taken from the bits; then
// ln(1 + f) = 2 artanh(s), s = f / (2 + f), from a polynomial in s^2 whose
// error stays below 2^-58, added so that the largest term is added last.
double naturalLogarithm(double x)
{
    constexpr double kLg1 = 6.666666666666735130e-01;
    constexpr double kLg2 = 3.999999999940941908e-01;
    constexpr double kLg3 = 2.857142874366239149e-01;
    constexpr double kLg4 = 2.222219843214978396e-01;
    constexpr double kLg5 = 1.818357216161805012e-01;
    constexpr double kLg6 = 1.531383769920937332e-01;
    constexpr double kLg7 = 1.479819860511658591e-01;

    if (x != x)
        return x;
    if (x == 0)
        return -std::numeric_limits<double>::infinity();
    if (x < 0)
        return std::numeric_limits<double>::quiet_NaN();
    if (x == std::numeric_limits<double>::infinity())
        return x;
    int k = 0;
    if (x < std::numeric_limits<double>::min()) {
        k = -54;  // a subnormal x, made normal exactly
        x *= kTwoTo54;
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    // The upper 20 bits of the fraction decide which binade 1 + f falls in and
    // which of the two sums below is the more accurate.
    const std::int32_t high = static_cast<std::int32_t>((bits >> 32) & 0x000fffff);
    const std::int32_t halved = (high + 0x95f64) & 0x100000;  // fraction above sqrt(2): take x / 2
    k += static_cast<int>(bits >> 52) - 1023 + (halved >> 20);
    const std::uint64_t reduced =
        (bits & 0x000fffffffffffffULL) | (static_cast<std::uint64_t>(halved ^ 0x3ff00000) << 32);
    const double f = std::bit_cast<double>(reduced) - 1.0;
    const double dk = k;
    if (((2 + high) & 0x000fffff) < 3) {  // |f| < 2^-20: three terms of the series are enough
        if (f == 0)
            return k == 0 ? 0.0 : dk * kLn2High + dk * kLn2Low;
        const double series = f * f * (0.5 - 0.33333333333333333 * f);
        return k == 0 ? f - series : dk * kLn2High - ((series - dk * kLn2Low) - f);
    }
    const double s = f / (2.0 + f);
    const double z = s * s;
    const double w = z * z;
    const double odd = w * (kLg2 + w * (kLg4 + w * kLg6));
    const double even = z * (kLg1 + w * (kLg3 + w * (kLg5 + w * kLg7)));
    const double r = even + odd;
    if (high >= 0x6147a && high <= 0x6b851) {  // 1 + f near the ends of its interval
        const double halfSquare = 0.5 * f * f;
        return k == 0 ? f - (halfSquare - s * (halfSquare + r))
                      : dk * kLn2High - ((halfSquare - (s * (halfSquare + r) + dk * kLn2Low)) - f);
    }
    return k == 0 ? f - s * (f - r) : dk * kLn2High - ((s * (f - r) - dk * kLn2Low) - f);
}

}  // namespace wienbridge
