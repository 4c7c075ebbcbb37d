#pragma once

namespace wienbridge {

// e^x and the natural logarithm from + - * / alone, evaluated in a fixed order:
// the C libraries' exp and log differ from platform to platform in the last
// bit, and whatever the program prints must not. Both are within one unit in
// the last place of the true value over the whole range of doubles, scale by
// powers of two exactly, and follow the C library at the edges:
//   exponential: NaN -> NaN, +inf -> +inf, -inf -> 0, beyond about 709.78
//   -> +inf, below about -745.13 -> 0, subnormal results in between;
//   naturalLogarithm: NaN -> NaN, +inf -> +inf, +-0 -> -inf, x < 0 -> NaN,
//   subnormal x handled as any other.
double exponential(double x);
double naturalLogarithm(double x);

}  // namespace wienbridge
