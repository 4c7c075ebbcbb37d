#include "plot/curve_reduction.h"

#include <algorithm>

#include "plot/line_raster.h"

namespace wienbridge {

CurveReduction::CurveReduction(const PlotGeometry& geometry) : geometry_(geometry)
{
    columns_.reserve(static_cast<std::size_t>(geometry.width) + 1);
}

void CurveReduction::begin(std::int64_t sampleCount)
{
    count_ = sampleCount;
    columns_.clear();
    columnEnd_ = 0;
}

double CurveReduction::column(std::int64_t k) const
{
    return nearestPixel(geometry_.deviceX(sampleX(k, count_)));
}

std::int64_t CurveReduction::lastInColumnOf(std::int64_t k) const
{
    const double target = column(k);
    std::int64_t inside = k;
    std::int64_t beyond = count_ + 1;
    while (beyond - inside > 1) {
        const std::int64_t middle = inside + (beyond - inside) / 2;
        if (column(middle) <= target)
            inside = middle;
        else
            beyond = middle;
    }
    return inside;
}

// With many samples to a column most blocks lie inside one, and their bounds
// are all the column needs of them: only the blocks that cross from one column
// to the next are visited sample by sample.
void CurveReduction::observeWithBounds(std::int64_t first, std::span<const double> vp,
                                       std::span<const double> vo, Bounds bounds)
{
    const std::int64_t last = first + static_cast<std::int64_t>(vo.size()) - 1;
    if (vo.empty() || columns_.empty() || first > columnEnd_ || last > columnEnd_) {
        observe(first, vp, vo);
        return;
    }
    ReducedColumn& column = columns_.back();
    column.lowest = std::min(column.lowest, bounds.lowest);
    column.highest = std::max(column.highest, bounds.highest);
    column.last = {last, vo.back()};
}

void CurveReduction::observe(std::int64_t first, std::span<const double>, std::span<const double> vo)
{
    std::size_t j = 0;
    while (j < vo.size()) {
        const std::int64_t k = first + static_cast<std::int64_t>(j);
        if (columns_.empty() || k > columnEnd_) {
            columnEnd_ = lastInColumnOf(k);
            columns_.push_back({{k, vo[j]}, {k, vo[j]}, vo[j], vo[j]});
        }
        const std::size_t end = std::min(vo.size(), static_cast<std::size_t>(columnEnd_ - first + 1));
        // The only loop that visits every sample: four minima and maxima side
        // by side, so that none waits for the one before, and no branch on the
        // data, so that a noisy curve costs no more than a smooth one.
        ReducedColumn& column = columns_.back();
        double low0 = column.lowest, low1 = low0, low2 = low0, low3 = low0;
        double high0 = column.highest, high1 = high0, high2 = high0, high3 = high0;
        std::size_t i = j;
        for (; i + 4 <= end; i += 4) {
            low0 = std::min(low0, vo[i]), high0 = std::max(high0, vo[i]);
            low1 = std::min(low1, vo[i + 1]), high1 = std::max(high1, vo[i + 1]);
            low2 = std::min(low2, vo[i + 2]), high2 = std::max(high2, vo[i + 2]);
            low3 = std::min(low3, vo[i + 3]), high3 = std::max(high3, vo[i + 3]);
        }
        for (; i < end; ++i)
            low0 = std::min(low0, vo[i]), high0 = std::max(high0, vo[i]);
        column.lowest = std::min(std::min(low0, low1), std::min(low2, low3));
        column.highest = std::max(std::max(high0, high1), std::max(high2, high3));
        column.last = {first + static_cast<std::int64_t>(end) - 1, vo[end - 1]};
        j = end;
    }
}

}  // namespace wienbridge
