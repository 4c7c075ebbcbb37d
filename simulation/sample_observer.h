#pragma once

#include <cstdint>
#include <span>

namespace wienbridge {

// Receives the samples of a run as they are computed, in order, each once:
// vp[j] and vo[j] are Vp and Vo of sample first + j, the samples counted from 1.
// A run hands them over a block at a time and keeps none of them, so an
// observer keeps only what it needs. Samples of a step that failed are never
// handed over.
class SampleObserver {
public:
    virtual ~SampleObserver() = default;
    // Before the first sample: how many the run hands over if it completes
    // (10 * N), so that nothing outside the model works it out again.
    virtual void begin(std::int64_t /*sampleCount*/) {}
    virtual void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) = 0;
};

// Hands the same samples to two observers, first to `a`.
class BothObservers final : public SampleObserver {
public:
    BothObservers(SampleObserver& a, SampleObserver& b) : a_(a), b_(b) {}
    void begin(std::int64_t sampleCount) override
    {
        a_.begin(sampleCount);
        b_.begin(sampleCount);
    }
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override
    {
        a_.observe(first, vp, vo);
        b_.observe(first, vp, vo);
    }

private:
    SampleObserver& a_;
    SampleObserver& b_;
};

// Told how far a run has got after every block of samples; answering false
// asks the run to stop there, and it then throws RunCancelled.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    virtual bool carryOn(std::int64_t samplesDone, std::int64_t samplesInAll) = 0;
};

// A run stopped at the user's request: not a failure, nothing to report.
struct RunCancelled {};

}  // namespace wienbridge
