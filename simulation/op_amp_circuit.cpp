#include "simulation/op_amp_circuit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "runtime/elementary_functions.h"

namespace wienbridge {

namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Complex arithmetic written out, so that its order of operations is the same
// on every platform (std::complex leaves it to the library).
struct Complex {
    double re = 0.0;
    double im = 0.0;
};

Complex operator+(Complex a, Complex b)
{
    return {a.re + b.re, a.im + b.im};
}
Complex operator-(Complex a, Complex b)
{
    return {a.re - b.re, a.im - b.im};
}
Complex operator*(Complex a, Complex b)
{
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// Smith's division: the divisor's squared size is never formed, so it neither
// overflows nor underflows where the quotient itself is representable.
Complex operator/(Complex a, Complex b)
{
    if (std::fabs(b.re) >= std::fabs(b.im)) {
        const double r = b.im / b.re;
        const double d = b.re + b.im * r;
        return {(a.re + a.im * r) / d, (a.im - a.re * r) / d};
    }
    const double r = b.re / b.im;
    const double d = b.im + b.re * r;
    return {(a.re * r + a.im) / d, (a.im * r - a.re) / d};
}

// What Newton's steps compare: the 1-norm, which needs no square root.
double size(double x)
{
    return std::fabs(x);
}
double size(Complex z)
{
    return std::fabs(z.re) + std::fabs(z.im);
}

// c3 x^3 + c2 x^2 + c1 x + c0, and its slope, by Horner's rule.
struct Cubic {
    double c3, c2, c1, c0;

    double at(double x) const { return ((c3 * x + c2) * x + c1) * x + c0; }
    double slopeAt(double x) const { return (3 * c3 * x + 2 * c2) * x + c1; }
    Complex at(Complex z) const
    {
        return ((Complex{c3} * z + Complex{c2}) * z + Complex{c1}) * z + Complex{c0};
    }
    Complex slopeAt(Complex z) const { return (Complex{3 * c3} * z + Complex{2 * c2}) * z + Complex{c1}; }
};

// A few Newton steps on the whole cubic, each kept only if it brings the
// residual down: they mend what deflation lost without wandering off a root
// that is already as good as doubles allow.
template <typename Number>
Number polish(const Cubic& p, Number x)
{
    for (int step = 0; step < 3; ++step) {
        const Number value = p.at(x);
        const Number next = x - value / p.slopeAt(x);
        if (!(size(p.at(next)) < size(value)))
            break;
        x = next;
    }
    return x;
}

// The real root on the side where the cubic, worth c0 > 0 at 0, goes to
// minus infinity: it always exists. Found by doubling the bracket outward
// and then by Newton steps kept inside it, bisecting when a step would leave
// it. Every decision is a comparison of doubles, so the number of steps is
// the same everywhere. A root beyond the largest double is given as an infinity.
double outerRealRoot(const Cubic& p)
{
    const double side = p.c3 > 0 ? -1.0 : 1.0;
    double inner = 0.0;   // p > 0
    double outer = side;  // p < 0 once found
    while (!(p.at(outer) < 0)) {
        inner = outer;
        outer *= 2;
        if (!(std::fabs(outer) <= kLargest))
            return side * kInfinity;
    }
    double x = inner + (outer - inner) / 2;
    for (int step = 0; step < 2200; ++step) {
        const double value = p.at(x);
        if (value == 0)
            return x;
        (value > 0 ? inner : outer) = x;
        const double low = std::min(inner, outer);
        const double high = std::max(inner, outer);
        double next = x - value / p.slopeAt(x);
        if (next == x)
            return x;
        if (!(next > low && next < high))
            next = inner + (outer - inner) / 2;
        if (!(next > low && next < high))
            return x;  // no double left between the ends of the bracket
        x = next;
    }
    return x;
}

// The modes of the circuit: the real root found first (possibly infinite), and
// the quadratic's two real roots or its complex pair (re +- i im, im > 0).
struct Modes {
    double outer = -kInfinity;
    double real[2] = {-kInfinity, -kInfinity};
    bool pair = false;
    Complex upper;
};

Modes solve(const Cubic& p)
{
    Modes m;
    double q2 = p.c2, q1 = p.c1, q0 = p.c0;
    if (p.c3 != 0) {
        m.outer = outerRealRoot(p);
        if (std::fabs(m.outer) <= kLargest) {
            const double r = m.outer;
            q2 = p.c3;
            // Divide out (x - r) from the end where the rounding errors shrink:
            // from the bottom when r is larger than the geometric mean of the
            // roots' sizes, from the top otherwise.
            if (std::fabs(p.c3 * r * r * r) > std::fabs(p.c0)) {
                q0 = -p.c0 / r;
                q1 = (q0 - p.c1) / r;
            } else {
                q1 = p.c2 + r * q2;
                q0 = p.c1 + r * q1;
            }
        }
        // else: the root is beyond the doubles, and the other two are the
        // roots of the cubic without its leading term.
    }
    // Scaled so that no square below overflows.
    const double scale = std::max({std::fabs(q2), std::fabs(q1), std::fabs(q0)});
    q2 /= scale;
    q1 /= scale;
    q0 /= scale;
    const double discriminant = q1 * q1 - 4 * q2 * q0;
    if (discriminant < 0) {
        m.pair = true;
        m.upper = polish(p, Complex{-q1 / (2 * q2), std::sqrt(-discriminant) / (2 * std::fabs(q2))});
        m.upper.im = std::fabs(m.upper.im);
    } else {
        // The larger root from the sum that does not cancel, the smaller from
        // the product of the two.
        const double root = std::sqrt(discriminant);
        const double t = -(q1 + (q1 >= 0 ? root : -root)) / 2;
        if (t != 0) {
            m.real[0] = polish(p, t / q2);
            m.real[1] = polish(p, q0 / t);
        }
    }
    if (std::fabs(m.outer) <= kLargest)
        m.outer = polish(p, m.outer);
    return m;
}

// Where oscillation is just sustained, by Routh-Hurwitz: (1 + 3e)(3 + e - G0)
// = e with e = a G0, a = 1 / Aol, that is 3a(a - 1) G0^2 + (9a - 1) G0 + 3 = 0,
// whose one positive root exists when Aol > 1. Taken from the form that does
// not subtract nearly equal numbers.
SustainingRatio sustainingRatio(double aol, double naturalFrequency)
{
    const double a = 1 / aol;
    const double qa = 3 * a * (a - 1);
    const double qb = 9 * a - 1;
    const double qc = 3;
    const double root = std::sqrt(qb * qb - 4 * qa * qc);
    const double q = -(qb + (qb >= 0 ? root : -root)) / 2;
    const double g0 = qb >= 0 ? q / qa : qc / q;
    const double e = g0 / aol;
    return {g0 - 1, naturalFrequency / std::sqrt(1 + 3 * e)};
}

}  // namespace

OpAmpCircuit opAmpCircuit(const RunInputs& inputs, const RunResult& result)
{
    OpAmpCircuit c;
    const double aol = result.Aol;
    const double g0 = 1 + inputs.Ratio;
    const double e = g0 / aol;
    const Cubic p{e, 1 + 3 * e, 3 + e - g0, 1};
    if (!(aol > 0 && aol <= kLargest && inputs.CR > 0 && std::fabs(p.c3) <= kLargest
          && std::fabs(p.c2) <= kLargest && std::fabs(p.c1) <= kLargest))
        return c;
    c.exists = true;
    const double twoPi = 2 * std::numbers::pi;
    const Modes m = solve(p);
    const double dominantReal = std::max({m.outer, m.real[0], m.real[1]});
    if (m.pair) {
        c.frequency = m.upper.im / (twoPi * inputs.CR);
        const double factor = exponential(twoPi * m.upper.re / m.upper.im);
        c.factorOverflows = factor > kLargest;
        if (!c.factorOverflows)
            c.factorPerPeriod = factor;
    }
    if (m.pair && m.upper.re >= dominantReal)
        c.regime = c.factorOverflows                            ? Regime::Growing
                   : std::fabs(*c.factorPerPeriod - 1) <= 1e-12 ? Regime::Sustained
                   : *c.factorPerPeriod < 1                     ? Regime::Damped
                                                                : Regime::Growing;
    else
        c.regime = dominantReal > 0 ? Regime::Growing : Regime::Damped;
    if (aol > 1)
        c.minimum = sustainingRatio(aol, 1 / (twoPi * inputs.CR));
    return c;
}

}  // namespace wienbridge
