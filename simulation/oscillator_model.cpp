#include "oscillator_model.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <stdexcept>

#include "available_memory.h"
#include "checked_int.h"
#include "float_check.h"
#include "rounding.h"

namespace wienbridge {
namespace {

// Steps run between two tests of the floating-point flags. Small enough that
// replaying a failing block costs nothing noticeable, large enough that the
// tests cost nothing either.
constexpr std::int64_t kStepsPerBlock = 4096;

// The integral is kept as a running sum: adding Dt * Vp[i] to the sum of the
// earlier terms adds the same terms in the same order as re-summing from the
// first sample at every step, so every value is the same double, at linear cost.

// One step, statement by statement, each checked on its own. Used to find the
// exact statement that failed inside a block the fast loop flagged.
void checkedStep(ModuleState& s, std::int64_t i)
{
    s.Integral = checkedStatement([](double dt, double v, double sum) { return dt * v + sum; },
                                  s.Dt, s.Vp[i], s.Integral);
    const double damping = checkedSub(3, s.K);
    const double next = checkedStatement(
        [](double v, double damping, double cr, double dt) { return v - (damping / cr) * v * dt; },
        s.Vp[i], damping, s.CR, s.Dt);
    s.Vp[i + 1] = checkedStatement(
        [](double next, double dt, double cr, double sum) { return next - (dt / (cr * cr)) * sum; },
        next, s.Dt, s.CR, s.Integral);
    s.Vo[i] = checkedStatement([](double gain, double v) { return gain * v; },
                               static_cast<double>(s.K), s.Vp[i]);
}

struct StepCoefficients {
    double dt;
    double damping;          // (3 - K) / CR
    double dtOverCrSquared;  // Dt / CR^2
    double gain;             // K
};

// The same arithmetic as checkedStep, in the same order, with nothing else in the loop.
void fastSteps(double* vp, double* vo, double& integral, const StepCoefficients& c,
               std::int64_t first, std::int64_t last)
{
    double sum = integral;
    double v = vp[first];
    for (std::int64_t i = first; i <= last; ++i) {
        sum = c.dt * v + sum;
        const double s = v - c.damping * v * c.dt;
        const double next = s - c.dtOverCrSquared * sum;
        vp[i + 1] = next;
        vo[i] = c.gain * v;
        v = next;
    }
    integral = sum;
}

// Allocations below this size are simply tried: asking the system how much
// memory is left costs more than the run itself at small N.
constexpr std::uint64_t kAskBeforeAllocating = 64u << 20;

// Gives Vo and Vp indices 0 to 10 * N + 1. Returns false for fresh, zero-filled
// arrays, true when the last run's arrays had the same size and are reused:
// then only the elements the integration never writes are zeroed here, and the
// integration itself zeroes what it leaves unwritten when it fails. Either way
// the arrays end up as if freshly zeroed, without paying for zeros that the
// integration overwrites at once.
bool allocateSamples(ModuleState& s)
{
    const std::int32_t upperBound = checkedAdd(checkedMul(10, s.N), 1);
    if (upperBound < 0)
        raise(ErrorKind::SubscriptOutOfRange);
    const std::size_t count = static_cast<std::size_t>(upperBound) + 1;

    if (s.Vo.size() == count && s.Vp.size() == count) {
        s.Vo[0] = 0.0;
        s.Vo[count - 1] = 0.0;
        s.Vp[0] = 0.0;
        return true;
    }

    // The previous run's arrays go first, so that their memory counts as available.
    std::vector<double>().swap(s.Vo);
    std::vector<double>().swap(s.Vp);

    // Linux overcommits: an allocation the machine cannot back succeeds and the
    // process is killed later while the zeros are written. Ask first.
    const std::uint64_t needed = 2 * static_cast<std::uint64_t>(count) * sizeof(double);
    if (needed > kAskBeforeAllocating && needed > availableMemoryBytes())
        raise(ErrorKind::OutOfMemory);
    try {
        s.Vo.assign(count, 0.0);
        s.Vp.assign(count, 0.0);
    } catch (const std::bad_alloc&) {
        raise(ErrorKind::OutOfMemory);
    } catch (const std::length_error&) {
        raise(ErrorKind::OutOfMemory);
    }
    return false;
}

// Zeroes what a failing integration has not assigned: Vp after index first and
// Vo from index first on.
void clearFrom(ModuleState& s, std::int64_t first)
{
    std::fill(s.Vp.begin() + first + 1, s.Vp.end(), 0.0);
    std::fill(s.Vo.begin() + first, s.Vo.end(), 0.0);
}

void integrate(ModuleState& s)
{
    const std::int64_t steps = checkedMul(10, s.N);

    // The loop invariants of the step, computed once. If any of them fails, the
    // first step fails at the statement that uses it, and checkedStep finds it.
    StepCoefficients c{};
    std::int32_t threeMinusK = 0;
    const bool gainFits = !__builtin_sub_overflow(3, s.K, &threeMinusK);
    clearFloatingPointFlags();
    c.dt = s.Dt;
    c.damping = static_cast<double>(threeMinusK);
    c.gain = static_cast<double>(s.K);
    double cr = s.CR;
    pinInPlace(c);
    pinInPlace(cr);
    c.damping = c.damping / cr;
    c.dtOverCrSquared = c.dt / (cr * cr);
    pinInPlace(c);
    const int invariantFlags = raisedFloatingPointFlags();
    // The first step sums the integral from nothing, whatever the last run left.
    s.Integral = 0.0;
    if (!gainFits || invariantFlags != 0) {
        clearFrom(s, 1);
        checkedStep(s, 1);
        raise(gainFits ? errorForFlags(invariantFlags) : ErrorKind::Overflow);
    }

    double* vp = s.Vp.data();
    double* vo = s.Vo.data();
    for (std::int64_t first = 1; first <= steps; first += kStepsPerBlock) {
        const std::int64_t last = std::min(steps, first + kStepsPerBlock - 1);
        const double integralBefore = s.Integral;
        clearFloatingPointFlags();
        fastSteps(vp, vo, s.Integral, c, first, last);
        if (raisedFloatingPointFlags() != 0) {
            // Undo the block and run it again statement by statement, so that the
            // error names the statement that failed and the state holds exactly
            // what was assigned before it.
            s.Integral = integralBefore;
            clearFrom(s, first);
            for (std::int64_t i = first; i <= last; ++i)
                checkedStep(s, i);
        }
    }
}

}  // namespace

std::int32_t stageGain(double aol, double ratio)
{
    const double gain = checkedStatement(
        [](double aol, double ratio) { return aol / (aol * (1 / (ratio + 1)) + 1); }, aol, ratio);
    return roundToInt32(gain);
}

void runModel(ModuleState& s)
{
    s.Dt = checkedStatement([](double cr, double n) { return cr / (n * 0.1); },
                            s.CR, static_cast<double>(s.N));
    const bool reused = allocateSamples(s);
    s.Vp[1] = 1.0;
    try {
        // The factor is the literal the circuit's designers used, not 2 pi to full precision.
        s.Aol = checkedStatement(
            [](double cr, double fc) { return ((cr * 6.28318530717958) * fc) * 1000000; }, s.CR,
            s.Fc);
        s.K = stageGain(s.Aol, s.Ratio);
    } catch (const RuntimeError&) {
        if (reused)
            clearFrom(s, 1);
        throw;
    }
    integrate(s);
}

}  // namespace wienbridge
