#pragma once

#include <string_view>

#include <QString>
#include <QStringList>

#include "finished_run.h"

namespace wienbridge {

// What the "Risultati" window says of a run, with the given decimal separator:
// what the samples measured beside what the continuous circuit would do with
// the same K, the gains, the step, and warnings of what makes the samples
// misleading. Every number has four significant digits, in engineering units.
struct ResultsText {
    QString idealFrequency;     // f0 = 1 / (2π CR)
    QString measuredFrequency;  // from the zero crossings of the samples
    QString circuitFrequency;   // f0 √(1 - ζ²)
    QString regime;             // from K
    QString measuredFactor;     // of the amplitude, per period, on the samples
    QString circuitFactor;
    QString openLoopGain;
    QString stageGain;  // before rounding
    QString gain;       // K
    QString step;       // Dt
    QString stepOverCr;
    QString sampleCount;
    QString peak;
    QStringList warnings;  // one line each
};

// For no run, after one that failed or was cancelled, every value is "—".
ResultsText resultsText(const FinishedRun* run, std::string_view decimalSeparator);

}  // namespace wienbridge
