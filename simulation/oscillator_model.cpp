#include "simulation/oscillator_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "runtime/checked_int.h"
#include "runtime/clear_upper_vector_halves.h"
#include "runtime/float_check.h"
#include "runtime/rounding.h"

namespace wienbridge {
namespace {

// Steps run between two tests of the floating-point flags, and the samples
// handed to the observers at a time: small enough that the block stays in the
// first-level cache and that replaying a failing one costs nothing noticeable,
// large enough that the tests and the calls cost nothing either.
constexpr std::int64_t kStepsPerBlock = 1024;

// The integral is kept as a running sum: adding Dt * Vp(i) to the sum of the
// earlier terms adds the same terms in the same order as re-summing from the
// first sample at every step, so every value is the same double, at linear cost.
struct Integrator {
    double v = 1.0;    // Vp(i), the sample the next step starts from
    double sum = 0.0;  // the integral up to the last step
};

// The constants of every step, each computed once as the first step would.
struct StepCoefficients {
    double dt;
    double dampingOverCr;    // (3 - K) / CR
    double dtOverCrSquared;  // Dt / CR^2
    double gain;             // K
};

// One step, written once for both ways a block is run: `statement` evaluates
// each statement, plainly in the fast loop or checked on its own in the replay
// of a block that raised a flag. Returns Vo(i) and moves the integrator on.
template <class Statement>
inline double step(Integrator& at, const StepCoefficients& c, Statement&& statement)
{
    const double sum =
        statement([](double dt, double v, double sum) { return dt * v + sum; }, c.dt, at.v, at.sum);
    const double s =
        statement([](double v, double d, double dt) { return v - d * v * dt; }, at.v, c.dampingOverCr, c.dt);
    const double next =
        statement([](double s, double k, double sum) { return s - k * sum; }, s, c.dtOverCrSquared, sum);
    const double vo = statement([](double gain, double v) { return gain * v; }, c.gain, at.v);
    at = {next, sum};
    return vo;
}

constexpr auto kPlainStatement = [](auto&& statement, auto... operands) { return statement(operands...); };

constexpr auto kCheckedStatement = [](auto&& statement, auto... operands) {
    return checkedStatement(Quantity::Growth, statement, operands...);
};

// A block of steps with nothing else in the loop but the lowest and highest
// Vo: the samples go to the block's buffers. The minimum and maximum do not
// wait for the next step, so they cost nothing beside the chain of dependent
// multiplications and additions that sets the pace, and they spare the
// observers a pass over the block.
SampleObserver::Bounds fastSteps(Integrator& at, const StepCoefficients& c, double* vp, double* vo,
                                 std::int64_t count)
{
    Integrator local = at;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (std::int64_t j = 0; j < count; ++j) {
        vp[j] = local.v;
        const double out = step(local, c, kPlainStatement);
        vo[j] = out;
        lowest = std::min(lowest, out);
        highest = std::max(highest, out);
    }
    at = local;
    return {lowest, highest};
}

SampleObserver::Bounds boundsOf(std::span<const double> vo)
{
    const auto [lowest, highest] = std::minmax_element(vo.begin(), vo.end());
    return {*lowest, *highest};
}

// The largest |Vo| once a block's bounds are known: the same as taking the
// largest magnitude sample by sample, zeros counted as +0.
double peakWith(double peak, SampleObserver::Bounds bounds)
{
    return std::max(peak, std::max(std::fabs(bounds.lowest), std::fabs(bounds.highest)));
}

// The nearest integer to the stage gain for an op-amp of open-loop gain aol
// and a ratio R1 / R2.
std::int32_t stageGain(double aol, double ratio)
{
    const double gain = checkedStatement(
        Quantity::StageGain, [](double aol, double ratio) { return aol / (aol * (1 / (ratio + 1)) + 1); },
        aol, ratio);
    return roundToInt32(gain, Quantity::GainRounding);
}

class Run {
public:
    Run(const RunInputs& in, SampleObserver& observer, std::stop_token stop)
        : in_(in), observer_(observer), stop_(std::move(stop))
    {
    }

    RunResult operator()(std::int64_t lastSample)
    {
        r_.Dt = checkedStatement(
            Quantity::Step, [](double cr, double n) { return cr / (n * 0.1); }, in_.CR,
            static_cast<double>(in_.N));
        // The samples are numbered 0 to 10 * N + 1, as if they were kept: a count
        // that does not fit, or an upper bound below 0, is refused as before.
        const std::int32_t steps = checkedMul(10, in_.N, Quantity::SampleCount);
        if (checkedAdd(steps, 1, Quantity::SampleCount) < 0)
            raise(ErrorKind::SubscriptOutOfRange, Quantity::SampleCount);

        // The factor is the literal the circuit's designers used, not 2 pi to full precision.
        r_.Aol = checkedStatement(
            Quantity::OpenLoopGain,
            [](double cr, double fc) { return ((cr * 6.28318530717958) * fc) * 1000000; }, in_.CR, in_.Fc);
        r_.K = stageGain(r_.Aol, in_.Ratio);

        // In the order the first step meets them; none of them changes after.
        const double margin = checkedSub(3, r_.K, Quantity::GainMargin);
        const StepCoefficients c{
            r_.Dt,
            checkedStatement(
                Quantity::DampingOverCr, [](double d, double cr) { return d / cr; }, margin, in_.CR),
            checkedStatement(
                Quantity::StepOverCrSquared, [](double dt, double cr) { return dt / (cr * cr); }, r_.Dt,
                in_.CR),
            static_cast<double>(r_.K),
        };
        r_.Samples = steps;
        // Blocks still start where a whole run's do; only the last one is cut short.
        const auto handed = static_cast<std::int32_t>(std::clamp<std::int64_t>(lastSample, 0, steps));
        observer_.begin(handed);
        integrate(c, handed);
        return r_;
    }

private:
    void handOver(std::int64_t first, const double* vp, const double* vo, std::int64_t count)
    {
        const std::span<const double> out(vo, std::size_t(count));
        observer_.observeWithBounds(first, {vp, std::size_t(count)}, out, boundsOf(out));
    }

    void integrate(const StepCoefficients& c, std::int64_t steps)
    {
        std::array<double, kStepsPerBlock> vp;
        std::array<double, kStepsPerBlock> vo;
        Integrator at;
        clearUpperVectorHalves();
        for (std::int64_t first = 1; first <= steps; first += kStepsPerBlock) {
            const std::int64_t count = std::min(kStepsPerBlock, steps - first + 1);
            const Integrator before = at;
            clearFloatingPointFlags();
            pinInPlace(at);
            SampleObserver::Bounds bounds = fastSteps(at, c, vp.data(), vo.data(), count);
            pinInPlace(at);
            pinInPlace(bounds);
            if (raisedFloatingPointFlags() != 0) {
                // Run the block again statement by statement, so that the error
                // is raised at the statement that failed and the observers get
                // every sample before it.
                at = before;
                std::int64_t done = 0;
                try {
                    for (; done < count; ++done) {
                        vp[done] = at.v;
                        vo[done] = step(at, c, kCheckedStatement);
                    }
                } catch (const RuntimeError&) {
                    if (done > 0)
                        handOver(first, vp.data(), vo.data(), done);
                    throw;
                }
                bounds = boundsOf({vo.data(), std::size_t(count)});
            }
            r_.Peak = peakWith(r_.Peak, bounds);
            observer_.observeWithBounds(first, {vp.data(), std::size_t(count)},
                                        {vo.data(), std::size_t(count)}, bounds);
            if (stop_.stop_requested())
                throw RunCancelled{};
        }
    }

    const RunInputs& in_;
    SampleObserver& observer_;
    std::stop_token stop_;
    RunResult r_;
};

}  // namespace

RunResult simulate(const RunInputs& inputs, SampleObserver& observer, std::stop_token stop,
                   std::int64_t lastSample)
{
    return Run(inputs, observer, std::move(stop))(lastSample);
}

}  // namespace wienbridge
