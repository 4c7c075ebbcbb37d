#include "simulation/csv_samples.h"

#include "runtime/number_format.h"

namespace wienbridge {
namespace {

// Text is handed on in pieces of about this size: large enough that writing
// costs little beside formatting, small enough to stay in the cache.
constexpr std::size_t kPieceSize = 1 << 16;

}  // namespace

CsvSamples::CsvSamples(std::function<void(std::string_view)> write) : write_(std::move(write)) {}

void CsvSamples::begin(std::int64_t)
{
    pending_ = "i,vp,vo\n";
}

void CsvSamples::observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo)
{
    for (std::size_t j = 0; j < vo.size(); ++j) {
        pending_ += std::to_string(first + static_cast<std::int64_t>(j));
        pending_ += ',';
        appendShortest(pending_, vp[j]);
        pending_ += ',';
        appendShortest(pending_, vo[j]);
        pending_ += '\n';
    }
    if (pending_.size() > kPieceSize)
        flush();
}

void CsvSamples::flush()
{
    if (pending_.empty())
        return;
    write_(pending_);
    pending_.clear();
}

}  // namespace wienbridge
