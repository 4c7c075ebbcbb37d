#include "plot/column_values.h"

#include <algorithm>
#include <cmath>

namespace wienbridge {

ColumnValues::ColumnValues(const SampleMapping& mapping) : mapped_(true), mapping_(mapping)
{
    locate();
}

void ColumnValues::begin(std::int64_t sampleCount)
{
    if (!mapped_)
        mapping_.count = sampleCount;
    locate();
}

void ColumnValues::locate()
{
    columns_.assign(kColumns, {});
    next_ = 0;
    const double count = static_cast<double>(mapping_.count);
    for (int c = 0; c < kColumns; ++c) {
        // Sample k lies at the run's own x = 100 k / count.
        const double at = mapping_.window.toRun(x(c)) / mapping_.stretch / 100 * count;
        Column& column = columns_[static_cast<std::size_t>(c)];
        if (!(at >= 1)) {
            column.before = 0;  // before the first sample: nothing to wait for
        } else if (at > count) {
            column.before = mapping_.count + 1;  // after the last: never seen
        } else {
            column.before = static_cast<std::int64_t>(std::floor(at));
            column.fraction = at - static_cast<double>(column.before);
        }
    }
    while (next_ < columns_.size() && columns_[next_].before == 0)
        ++next_;
}

void ColumnValues::observe(std::int64_t first, std::span<const double>, std::span<const double> vo)
{
    const std::int64_t last = first + static_cast<std::int64_t>(vo.size()) - 1;
    const auto value = [&](std::int64_t k) { return vo[static_cast<std::size_t>(k - first)]; };
    for (std::size_t c = next_; c < columns_.size() && columns_[c].before <= last; ++c) {
        Column& column = columns_[c];
        const std::int64_t next = column.fraction == 0.0 ? column.before : column.before + 1;
        if (column.before >= first)
            column.atBefore = value(column.before);
        if (next >= first && next <= last) {
            column.atNext = value(next);
            column.reached = true;
        }
    }
    while (next_ < columns_.size() && columns_[next_].reached)
        ++next_;
}

std::int64_t ColumnValues::lastSampleNeeded() const
{
    std::int64_t last = 0;
    for (const Column& column : columns_)
        if (column.before >= 1 && column.before <= mapping_.count)
            last = std::max(last, column.fraction == 0.0 ? column.before : column.before + 1);
    return last;
}

std::optional<double> ColumnValues::at(int c) const
{
    if (c < 0 || c >= kColumns || !columns_[static_cast<std::size_t>(c)].reached)
        return std::nullopt;
    const Column& column = columns_[static_cast<std::size_t>(c)];
    if (column.fraction == 0.0)
        return column.atBefore;
    return column.atBefore + (column.atNext - column.atBefore) * column.fraction;
}

}  // namespace wienbridge
