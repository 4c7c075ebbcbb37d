#pragma once

#include "colours.h"
#include "plot_drawing.h"
#include "plot_image.h"
#include "sample_observer.h"

namespace wienbridge::test {

// The curve drawn the plain way, a segment from each sample to the next, as
// the samples arrive: what the reduced curve must match pixel for pixel. Needs
// the run's peak beforehand, so the run is made twice.
class EverySegment final : public SampleObserver {
public:
    EverySegment(PlotImage& plot, std::int64_t count, double peak) : plot_(plot), count_(count), peak_(peak) {}

    void observe(std::int64_t first, std::span<const double>, std::span<const double> vo) override
    {
        for (std::size_t j = 0; j < vo.size(); ++j) {
            const std::int64_t k = first + static_cast<std::int64_t>(j);
            const UserPoint point{sampleX(k, count_), curveY(vo[j], peak_)};
            if (k > 1)
                plot_.drawLine(previous_, point, colours::red());
            previous_ = point;
        }
    }

private:
    PlotImage& plot_;
    std::int64_t count_;
    double peak_;
    UserPoint previous_;
};

}  // namespace wienbridge::test
