#include "oscillator_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "checked_int.h"
#include "clear_upper_vector_halves.h"
#include "failure_hints.h"
#include "float_check.h"
#include "rounding.h"

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

struct StepCoefficients {
    double dt;
    double damping;          // (3 - K) / CR
    double dtOverCrSquared;  // Dt / CR^2
    double gain;             // K
};

// One step as the algorithm writes it, each statement checked on its own: finds
// the statement that failed inside a block the fast loop flagged, and gives
// the error its kind. Returns Vo(i); the integrator moves on only if every
// statement passed.
double checkedStep(Integrator& at, const RunInputs& in, const RunResult& r)
{
    const double sum =
        checkedStatement([](double dt, double v, double sum) { return dt * v + sum; }, r.Dt, at.v, at.sum);
    const double damping = checkedSub(3, r.K);
    const double s = checkedStatement(
        [](double v, double damping, double cr, double dt) { return v - (damping / cr) * v * dt; }, at.v,
        damping, in.CR, r.Dt);
    const double next = checkedStatement(
        [](double s, double dt, double cr, double sum) { return s - (dt / (cr * cr)) * sum; }, s, r.Dt, in.CR,
        sum);
    const double vo =
        checkedStatement([](double gain, double v) { return gain * v; }, static_cast<double>(r.K), at.v);
    at = {next, sum};
    return vo;
}

// The same arithmetic as checkedStep, in the same order, with nothing else in
// the loop but the peak: the samples go to the block's buffers. The peak's
// maximum does not wait for the next step, so it costs nothing beside the
// chain of dependent multiplications and additions that sets the pace.
void fastSteps(Integrator& at, const StepCoefficients& c, double* vp, double* vo, std::int64_t count,
               double& peak)
{
    double sum = at.sum;
    double v = at.v;
    double largest = peak;
    for (std::int64_t j = 0; j < count; ++j) {
        sum = c.dt * v + sum;
        const double s = v - c.damping * v * c.dt;
        const double next = s - c.dtOverCrSquared * sum;
        vp[j] = v;
        const double out = c.gain * v;
        vo[j] = out;
        largest = std::max(largest, std::fabs(out));
        v = next;
    }
    at = {v, sum};
    peak = largest;
}

// The constants of every step, computed once. Returns the flags they raised;
// if any did, the first step fails at the statement that uses it.
int stepCoefficients(const RunInputs& in, const RunResult& r, StepCoefficients& c)
{
    clearFloatingPointFlags();
    c.dt = r.Dt;
    c.damping = static_cast<double>(3 - static_cast<std::int64_t>(r.K));
    c.gain = static_cast<double>(r.K);
    double cr = in.CR;
    pinInPlace(c);
    pinInPlace(cr);
    c.damping = c.damping / cr;
    c.dtOverCrSquared = c.dt / (cr * cr);
    pinInPlace(c);
    return raisedFloatingPointFlags();
}

// The integer stage gain for an op-amp of open-loop gain aol and a ratio
// R1 / R2: the nearest integer to aol / (aol / (ratio + 1) + 1).
std::int32_t stageGain(double aol, double ratio)
{
    const double gain = checkedStatement(
        [](double aol, double ratio) { return aol / (aol * (1 / (ratio + 1)) + 1); }, aol, ratio);
    return roundToInt32(gain);
}

class Run {
public:
    Run(const RunInputs& in, SampleObserver& observer, RunProgress* progress)
        : in_(in), observer_(observer), progress_(progress)
    {
    }

    RunResult operator()()
    {
        try {
            compute();
        } catch (const RuntimeError& error) {
            throw withHint(error, stage_, in_, r_);
        }
        return r_;
    }

private:
    void compute()
    {
        stage_ = RunStage::Step;
        r_.Dt = checkedStatement([](double cr, double n) { return cr / (n * 0.1); }, in_.CR,
                                 static_cast<double>(in_.N));
        // The samples are numbered 0 to 10 * N + 1, as if they were kept: a count
        // that does not fit, or an upper bound below 0, is refused as before.
        stage_ = RunStage::SampleCount;
        const std::int32_t steps = checkedMul(10, in_.N);
        if (checkedAdd(steps, 1) < 0)
            raise(ErrorKind::SubscriptOutOfRange);

        stage_ = RunStage::OpenLoopGain;
        // The factor is the literal the circuit's designers used, not 2 pi to full precision.
        r_.Aol = checkedStatement(
            [](double cr, double fc) { return ((cr * 6.28318530717958) * fc) * 1000000; }, in_.CR, in_.Fc);
        stage_ = RunStage::StageGain;
        r_.K = stageGain(r_.Aol, in_.Ratio);

        stage_ = RunStage::Coefficients;
        StepCoefficients c{};
        const bool gainFits = r_.K >= std::numeric_limits<std::int32_t>::min() + 3;
        const int flags = stepCoefficients(in_, r_, c);
        if (!gainFits || flags != 0) {
            Integrator first;
            checkedStep(first, in_, r_);
            raise(gainFits ? errorForFlags(flags) : ErrorKind::Overflow);
        }
        stage_ = RunStage::Integration;
        observer_.begin(steps);
        integrate(c, steps);
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
            double peak = r_.Peak;
            clearFloatingPointFlags();
            pinInPlace(at);
            fastSteps(at, c, vp.data(), vo.data(), count, peak);
            pinInPlace(at);
            pinInPlace(peak);
            if (raisedFloatingPointFlags() != 0) {
                // Run the block again statement by statement, so that the error
                // names the statement that failed and the observers get every
                // sample before it.
                at = before;
                std::int64_t done = 0;
                try {
                    for (; done < count; ++done) {
                        vp[done] = at.v;
                        vo[done] = checkedStep(at, in_, r_);
                    }
                } catch (const RuntimeError&) {
                    observer_.observe(first, {vp.data(), std::size_t(done)}, {vo.data(), std::size_t(done)});
                    throw;
                }
            }
            r_.Peak = peak;
            observer_.observe(first, {vp.data(), std::size_t(count)}, {vo.data(), std::size_t(count)});
            if (progress_ && !progress_->carryOn(first + count - 1, steps))
                throw RunCancelled{};
        }
    }

    const RunInputs& in_;
    SampleObserver& observer_;
    RunProgress* progress_;
    RunResult r_;
    RunStage stage_ = RunStage::Step;
};

}  // namespace

RunResult simulate(const RunInputs& inputs, SampleObserver& observer, RunProgress* progress)
{
    return Run(inputs, observer, progress)();
}

}  // namespace wienbridge
