#include "plot/curve_reduction.h"

#include <algorithm>
#include <cmath>

#include "plot/line_raster.h"

namespace wienbridge {

CurveReduction::CurveReduction(const PlotGeometry& geometry) : mapped_(false), geometry_(geometry)
{
    columns_.reserve(static_cast<std::size_t>(geometry.width) + 3);
}

CurveReduction::CurveReduction(const PlotGeometry& geometry, const SampleMapping& mapping)
    : mapped_(true), geometry_(geometry), mapping_(mapping)
{
    columns_.reserve(static_cast<std::size_t>(geometry.width) + 3);
    locate();
}

void CurveReduction::begin(std::int64_t sampleCount)
{
    if (!mapped_) {
        mapping_.count = sampleCount;
        locate();
    }
    columns_.clear();
    columnEnd_ = 0;
    peak_ = 0.0;
}

void CurveReduction::locate()
{
    const double lastColumn = geometry_.width - 1;
    // Both x and the column only grow with k, so each edge is found by halving.
    const std::int64_t end = mapping_.count + 1;
    const std::int64_t firstShown = firstWhere(0, end, [&](std::int64_t k) { return column(k) >= 0; });
    const std::int64_t lastShown =
        firstWhere(0, end, [&](std::int64_t k) { return column(k) > lastColumn; }) - 1;
    keepFirst_ = std::max<std::int64_t>(1, firstShown - 1);
    keepLast_ = std::min(mapping_.count, lastShown + 1);
    firstInside_ = firstWhere(0, end, [&](std::int64_t k) { return mapping_.x(k) >= 0.0F; });
    lastInside_ = firstWhere(0, end, [&](std::int64_t k) { return mapping_.x(k) > 100.0F; }) - 1;
}

template <class After>
std::int64_t CurveReduction::firstWhere(std::int64_t before, std::int64_t at, After&& after) const
{
    while (at - before > 1) {
        const std::int64_t middle = before + (at - before) / 2;
        if (after(middle))
            at = middle;
        else
            before = middle;
    }
    return at;
}

std::int64_t CurveReduction::lastSampleNeeded() const
{
    return keepLast_;
}

double CurveReduction::column(std::int64_t k) const
{
    return nearestPixel(geometry_.deviceX(mapping_.x(k)));
}

std::int64_t CurveReduction::lastInColumnOf(std::int64_t k) const
{
    const double target = column(k);
    return firstWhere(k, keepLast_ + 1, [&](std::int64_t m) { return column(m) > target; }) - 1;
}

// With many samples to a column most blocks lie inside one, and their bounds
// are all the column and the scale need of them: only the blocks that cross
// from one column to the next, or an edge of the window, are visited sample by
// sample.
void CurveReduction::observeWithBounds(std::int64_t first, std::span<const double> vp,
                                       std::span<const double> vo, Bounds bounds)
{
    const std::int64_t last = first + static_cast<std::int64_t>(vo.size()) - 1;
    if (vo.empty() || columns_.empty() || first > columnEnd_ || last > columnEnd_ || first < firstInside_
        || last > lastInside_) {
        observe(first, vp, vo);
        return;
    }
    ReducedColumn& column = columns_.back();
    column.lowest = std::min(column.lowest, bounds.lowest);
    column.highest = std::max(column.highest, bounds.highest);
    column.last = {last, vo.back()};
    peak_ = std::max({peak_, std::fabs(bounds.lowest), std::fabs(bounds.highest)});
}

void CurveReduction::observe(std::int64_t blockFirst, std::span<const double>, std::span<const double> block)
{
    const std::int64_t first = std::max(blockFirst, keepFirst_);
    const std::int64_t last = std::min(blockFirst + static_cast<std::int64_t>(block.size()) - 1, keepLast_);
    if (first > last)
        return;
    const std::span<const double> vo = block.subspan(static_cast<std::size_t>(first - blockFirst),
                                                     static_cast<std::size_t>(last - first + 1));
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
        // Only the columns at the window's edges hold samples outside it.
        if (column.first.k >= firstInside_ && column.last.k <= lastInside_) {
            peak_ = std::max({peak_, std::fabs(column.lowest), std::fabs(column.highest)});
        } else {
            for (i = j; i < end; ++i) {
                const std::int64_t at = first + static_cast<std::int64_t>(i);
                if (at >= firstInside_ && at <= lastInside_)
                    peak_ = std::max(peak_, std::fabs(vo[i]));
            }
        }
        j = end;
    }
}

}  // namespace wienbridge
