#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <valarray>

#include "simulation/op_amp_circuit.h"

using namespace wienbridge;

namespace {

using Root = std::complex<long double>;
using Modes = std::array<Root, 3>;
const long double kTwoPi = 2 * std::numbers::pi_v<long double>;

// The circuit's modes x = s CR by another road: the eigenvalues of the cubic's
// companion matrix in long double, the last by LR steps with Wilkinson's shift,
// the other two those of the 2 x 2 block left above it; each then polished by
// Newton steps on the cubic.
Modes modes(long double aol, long double ratio)
{
    const long double g0 = 1 + ratio, e = g0 / aol, c1 = 1 + 3 * e, c2 = 3 + e - g0;
    Root h[3][3] = {{-c1 / e, -c2 / e, -1 / e}, {1, 0, 0}, {0, 1, 0}};
    const auto block = [&](int i) {  // the eigenvalues of h's 2 x 2 block at (i, i)
        const Root mean = (h[i][i] + h[i + 1][i + 1]) / 2.0L, d = h[i + 1][i + 1] - mean;
        const Root root = std::sqrt(d * d + h[i][i + 1] * h[i + 1][i]);
        return std::array{mean + root, mean - root};
    };
    for (int step = 0; step < 100 && std::abs(h[2][1]) > 1e-19L * std::abs(h[2][2]); ++step) {
        const auto near = block(1);
        const Root shift = std::abs(near[0] - h[2][2]) < std::abs(near[1] - h[2][2]) ? near[0] : near[1];
        // H - shift = LU, then UL + shift: as a similarity transform of H by L, one
        // column of L at a time, whose unit diagonal leaves the shift in place.
        for (int k = 0; k < 2; ++k) {
            const Root m = h[k + 1][k] / (h[k][k] - shift);
            for (int j = 0; j < 3; ++j)
                h[k + 1][j] -= m * h[k][j];
            for (int i = 0; i < 3; ++i)
                h[i][k] += m * h[i][k + 1];
        }
    }
    Modes x{block(0)[0], block(0)[1], h[2][2]};
    for (Root& z : x)
        for (int step = 0; step < 4; ++step)
            z -= (((e * z + c1) * z + c2) * z + 1.0L) / ((3 * e * z + 2 * c1) * z + c2);
    return x;
}

const auto dominant = [](const Modes& x) { return std::ranges::max(x, {}, [](Root z) { return z.real(); }); };
const auto upper = [](const Modes& x) { return std::ranges::max(x, {}, [](Root z) { return z.imag(); }); };

struct Case {
    double fcHz, crSeconds, ratio;
    double aol() const { return 2 * std::numbers::pi * fcHz * crSeconds; }
    OpAmpCircuit solved(double r) const { return opAmpCircuit({crSeconds, fcHz / 1e6, 100, r}, {0, aol()}); }
};
// Crossover frequencies from 1 kHz to 100 MHz, time constants from 1 us to 10 ms,
// ratios from 1 to 3.5 (Aol from 0.006 to 6e6), and one just before the
// growing pair splits into two real modes, whose factor exceeds a double.
const Case kCases[] = {
    {1e3, 1e-6, 2},           {1e3, 159.15e-6, 3.5}, {1e3, 160e-6, 1},    {1e3, 1e-2, 2.5},
    {16e3, 159.15e-6, 2},     {16e3, 1e-5, 3.5},     {1e5, 159.15e-6, 2}, {1e5, 159.15e-6, 3},
    {3e6, 159.15e-6, 2.0001}, {1e7, 3e-6, 2.01},     {1e8, 1e-2, 3.5},    {1e5, 159.15e-6, 4.2477},
};

}  // namespace

// Regime, frequency and factor from the reference's modes; the smallest
// sustaining ratio where they cross into the right half-plane, by bisection on
// the ratio (with Aol <= 1 none does), and there the circuit keeps its amplitude.
TEST(OpAmpCircuit, AgreesWithTheEigenvaluesOfItsCompanionMatrix)
{
    for (const Case& k : kCases) {
        SCOPED_TRACE(testing::Message() << k.fcHz << " Hz, " << k.crSeconds << " s, R1/R2 = " << k.ratio);
        const OpAmpCircuit c = k.solved(k.ratio);
        const Modes x = modes(k.aol(), k.ratio);
        const Root top = upper(x);
        EXPECT_EQ(c.regime, dominant(x).real() < 0 ? Regime::Damped : Regime::Growing);
        ASSERT_EQ(c.oscillates(), top.imag() > 1e-12L * std::abs(top));
        if (c.oscillates()) {
            EXPECT_NEAR(*c.frequency / (top.imag() / (kTwoPi * k.crSeconds)), 1, 1e-9);
            const long double exponent = kTwoPi * top.real() / top.imag();
            EXPECT_EQ(c.factorOverflows, exponent > std::log(0x1.fffffffffffffp1023L));
            EXPECT_NEAR(c.factorPerPeriod.value_or(0) / std::exp(exponent), c.factorOverflows ? 0 : 1, 1e-9);
        }
        ASSERT_EQ(c.minimum.has_value(), k.aol() > 1);
        if (!c.minimum)
            continue;
        long double low = 0, high = 1e18;
        for (int step = 0; step < 128; ++step)
            (dominant(modes(k.aol(), (low + high) / 2)).real() < 0 ? low : high) = (low + high) / 2;
        EXPECT_NEAR(c.minimum->ratio / low, 1, 1e-9);
        EXPECT_NEAR(c.minimum->frequency / (upper(modes(k.aol(), low)).imag() / (kTwoPi * k.crSeconds)), 1,
                    1e-9);
        EXPECT_EQ(k.solved(c.minimum->ratio).regime, Regime::Sustained);
        EXPECT_NEAR(k.solved(c.minimum->ratio).factorPerPeriod.value_or(0), 1, 1e-12);
    }
}

// The circuit's own equations in t / CR, by Runge-Kutta with a fine step: the
// series capacitor's voltage, the network's output Vp and the op-amp's output
// Vo, dVo = Aol (Vp - Vo / G0). Once the real mode has died away, Vo's upward
// zero crossings are a period apart, and its slope there grows by the factor.
TEST(OpAmpCircuit, FrequencyAndFactorAreThoseOfTheIntegratedCircuit)
{
    for (const Case& k : {Case{16e3, 159.15e-6, 2}, Case{1e5, 159.15e-6, 2.2}}) {
        using V = std::valarray<double>;
        const double a = k.aol(), b = a / (1 + k.ratio), h = 1e-3;
        auto f = [&](V v) { return V{v[2] - v[0] - v[1], v[2] - v[0] - 2 * v[1], a * v[1] - b * v[2]}; };
        V v{0.0, 0.0, 1.0};
        double ups[6], rises[6];
        for (int i = 1, n = 0; n < 6; ++i) {
            const V k1 = f(v), k2 = f(v + h / 2 * k1), k3 = f(v + h / 2 * k2), k4 = f(v + h * k3);
            const double before = v[2];
            v += h / 6 * (k1 + 2.0 * k2 + 2.0 * k3 + k4);
            if (i * h > 20 && before < 0 && v[2] >= 0)
                ups[n] = (i - v[2] / (v[2] - before)) * h, rises[n++] = v[2] - before;
        }
        EXPECT_NEAR(*k.solved(k.ratio).frequency * k.crSeconds * (ups[5] - ups[0]) / 5, 1, 1e-3);
        EXPECT_NEAR(*k.solved(k.ratio).factorPerPeriod / std::pow(rises[5] / rises[0], 0.2), 1, 1e-2);
    }
}

TEST(OpAmpCircuit, NoneWithoutAPositiveFiniteOpenLoopGain)
{
    for (const double fc : {0.0, -1e5, HUGE_VAL, std::nan("")})
        EXPECT_FALSE((Case{fc, 159.15e-6, 2}.solved(2).exists)) << fc;
}
