#pragma once

#include <atomic>
#include <cstdint>

#include "simulation/sample_observer.h"

namespace wienbridge {

// How far a run has got, written by the run's thread and read by any other:
// the counts are atomic, the one thing both threads touch.
class ProgressCounter final : public SampleObserver {
public:
    void begin(std::int64_t sampleCount) override
    {
        done_.store(0, std::memory_order_relaxed);
        total_.store(sampleCount, std::memory_order_relaxed);
    }
    void observe(std::int64_t first, std::span<const double>, std::span<const double> vo) override
    {
        done_.store(first + static_cast<std::int64_t>(vo.size()) - 1, std::memory_order_relaxed);
    }
    std::int64_t done() const { return done_.load(std::memory_order_relaxed); }
    // 0 until the model has checked its constants and begun.
    std::int64_t total() const { return total_.load(std::memory_order_relaxed); }

private:
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
};

}  // namespace wienbridge
