#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

namespace wienbridge {

// Receives the samples of a run as they are computed, in order, each once:
// vp[j] and vo[j] are Vp and Vo of sample first + j, the samples counted from 1.
// A run hands them over a block at a time and keeps none of them, so an
// observer keeps only what it needs. Samples of a step that failed are never
// handed over. A run may call its observers on another thread than the one
// that made them, but only ever from one thread at a time.
class SampleObserver {
public:
    virtual ~SampleObserver() = default;
    // Before the first sample: how many the run hands over if it completes
    // (10 * N, fewer for a run asked to stop early), so that nothing outside
    // the model works it out again.
    virtual void begin(std::int64_t /*sampleCount*/) {}
    virtual void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) = 0;

    // The lowest and the highest of a block's Vo.
    struct Bounds {
        double lowest;
        double highest;
    };
    // The same block with its bounds, which a run finds as it computes the
    // samples at no cost: an observer that needs no more of most blocks than
    // that (the plot's columns, the analysis of the cycles) overrides this one
    // and skips a pass over every sample. A run calls this one.
    virtual void observeWithBounds(std::int64_t first, std::span<const double> vp, std::span<const double> vo,
                                   Bounds)
    {
        observe(first, vp, vo);
    }
};

// Hands the same samples to several observers, in the order given; null ones
// are skipped. ObserverList points at observers that live elsewhere;
// SharedObservers owns its observers together, so that, given to a computation
// on another thread, it keeps them alive for as long as the computation runs,
// however soon the front end lets go of them.
template <class Pointer>
class Observers final : public SampleObserver {
public:
    Observers(std::initializer_list<Pointer> observers)
    {
        for (const Pointer& observer : observers)
            if (observer)
                observers_.push_back(observer);
    }
    void begin(std::int64_t sampleCount) override
    {
        for (const Pointer& observer : observers_)
            observer->begin(sampleCount);
    }
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override
    {
        for (const Pointer& observer : observers_)
            observer->observe(first, vp, vo);
    }
    void observeWithBounds(std::int64_t first, std::span<const double> vp, std::span<const double> vo,
                           Bounds bounds) override
    {
        for (const Pointer& observer : observers_)
            observer->observeWithBounds(first, vp, vo, bounds);
    }

private:
    std::vector<Pointer> observers_;
};
using ObserverList = Observers<SampleObserver*>;
using SharedObservers = Observers<std::shared_ptr<SampleObserver>>;

// Hands on to another observer only samples first to last of those it gets.
class SampleRange final : public SampleObserver {
public:
    SampleRange(SampleObserver& inner, std::int64_t first, std::int64_t last)
        : inner_(inner), first_(first), last_(last)
    {
    }
    void begin(std::int64_t sampleCount) override
    {
        inner_.begin(std::max<std::int64_t>(0, std::min(sampleCount, last_) - first_ + 1));
    }
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override
    {
        const std::int64_t from = std::max(first, first_);
        const std::int64_t to = std::min(first + static_cast<std::int64_t>(vo.size()) - 1, last_);
        if (from > to)
            return;
        const auto offset = static_cast<std::size_t>(from - first);
        const auto count = static_cast<std::size_t>(to - from + 1);
        inner_.observe(from, vp.subspan(offset, count), vo.subspan(offset, count));
    }

private:
    SampleObserver& inner_;
    std::int64_t first_, last_;
};

// A run stopped at the user's request: not a failure, nothing to report.
struct RunCancelled {};

}  // namespace wienbridge
