#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "simulation/sample_observer.h"

namespace wienbridge {

// The samples as CSV, written as they are computed: a header "i,vp,vo", then
// one line per sample, each number in the shortest form that reads back as the
// same double, lines ending in "\n" on every platform. `write` takes the text
// a piece at a time; it may throw to stop the run (a full disk, say).
class CsvSamples final : public SampleObserver {
public:
    explicit CsvSamples(std::function<void(std::string_view)> write);

    void begin(std::int64_t sampleCount) override;
    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override;
    // Writes what is held back; call it once the run has ended, however.
    void flush();

private:
    std::function<void(std::string_view)> write_;
    std::string pending_;
};

}  // namespace wienbridge
