#include "run/sample_export.h"

#include <QIODevice>

#include "run/whole_file.h"
#include "simulation/csv_samples.h"
#include "simulation/oscillator_model.h"

namespace wienbridge {

Computation sampleExport(const RunInputs& inputs, const QString& path,
                         std::shared_ptr<SampleObserver> progress, std::int64_t first, std::int64_t last)
{
    return [inputs, first, last, path, progress](std::stop_token stop) {
        FinishedRun run{{}, inputs, {}, {}};
        const bool written = writeWholeFile(path, [&](QIODevice& file) {
            CsvSamples csv([&file](std::string_view text) {
                if (file.write(text.data(), static_cast<qint64>(text.size()))
                    != static_cast<qint64>(text.size()))
                    throw SampleFileNotWritten{};
            });
            SampleRange rows(csv, first, last);
            ObserverList observers{&rows, progress.get()};
            run.result = simulate(inputs, observers, stop, last);
            csv.flush();
            return true;
        });
        if (!written)
            throw SampleFileNotWritten{};
        return run;
    };
}

}  // namespace wienbridge
