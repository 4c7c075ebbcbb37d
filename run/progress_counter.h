#pragma once

#include <atomic>
#include <cstdint>

#include "simulation/sample_observer.h"

namespace wienbridge {

// How far a computation has got, written by its thread and read by any other:
// the counts are atomic, the one thing both threads touch. A computation that
// runs the model more than once (a plot with a reference curve) counts the
// samples of all its runs, one after the other.
class ProgressCounter final : public SampleObserver {
public:
    // The samples of the runs that follow the first, said before the first
    // begins, so that the total is known from the start; only before the
    // computation starts.
    void expectLater(std::int64_t samples) { later_ = samples; }

    void begin(std::int64_t sampleCount) override
    {
        base_ = done();
        total_.store(base_ + sampleCount + later_, std::memory_order_relaxed);
        later_ = 0;
    }
    void observe(std::int64_t first, std::span<const double>, std::span<const double> vo) override
    {
        done_.store(base_ + first + static_cast<std::int64_t>(vo.size()) - 1, std::memory_order_relaxed);
    }
    std::int64_t done() const { return done_.load(std::memory_order_relaxed); }
    // 0 until the model has checked its constants and begun.
    std::int64_t total() const { return total_.load(std::memory_order_relaxed); }

private:
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    std::int64_t base_ = 0;   // the samples of the runs before this one
    std::int64_t later_ = 0;  // those of the runs still to come
};

}  // namespace wienbridge
