#include "results_text.h"

#include <cmath>
#include <string>

#include "circuit_theory.h"
#include "number_format.h"
#include "number_reading.h"
#include "regime_names.h"

namespace wienbridge {
namespace {

constexpr double kTolerableFrequencyError = 0.02;
// Below this N the recurrence is unstable whatever K: the samples grow.
constexpr std::int32_t kLargestUnstableN = 5;

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

// The step is too coarse for the samples to stand for the circuit: one line
// saying why, or none.
QString coarseStepWarning(const FinishedRun& run, const CircuitTheory& circuit)
{
    const std::optional<double> measured = run.cycles.frequency;
    if (run.inputs.N <= kLargestUnstableN)
        return QStringLiteral(
            "Passo troppo grande: con N ≤ 5 la ricorrenza è instabile e il regime "
            "indicato da K non descrive i campioni.");
    if (measured && !circuit.frequency)
        return QStringLiteral("Passo troppo grande: i campioni oscillano, il circuito no; aumenta N.");
    if (measured && std::fabs(*measured - *circuit.frequency) > kTolerableFrequencyError * *circuit.frequency)
        return QStringLiteral(
            "Passo troppo grande: la frequenza dei campioni si scosta di oltre il 2 % "
            "da quella del circuito; aumenta N.");
    return {};
}

// "1.000" is read as 1 and "3x" as 3: the rest of such a text is ignored.
QStringList partlyReadWarnings(const BoxTexts& texts, std::string_view separator)
{
    const struct {
        const char* box;
        const std::string& text;
    } boxes[] = {
        {"CR [usec]", texts.timeConstant},
        {"N (Numero campioni)", texts.sampleCount},
        {"fc [MHz]", texts.crossover},
        {"R1/R2", texts.ratio},
    };
    QStringList warnings;
    for (const auto& box : boxes) {
        if (readsWhole(box.text))
            continue;
        std::string value;
        appendShortest(value, readNumber(box.text, Quantity::RatioText));
        if (const auto point = value.find('.'); point != std::string::npos)
            value.replace(point, 1, separator);
        warnings << QStringLiteral("Casella %1: «%2» è stato letto come %3; il resto è ignorato.")
                        .arg(QString::fromLatin1(box.box), text(box.text), text(value));
    }
    return warnings;
}

}  // namespace

ResultsText resultsText(const FinishedRun* run, std::string_view separator)
{
    const QString none = QStringLiteral("—");
    if (!run)
        return {none, none, none, none, none, none, none, none, none, none, none, none, none, {}};

    const CircuitTheory circuit = circuitTheory(run->inputs, run->result);
    const CycleMeasurements& measured = run->cycles;
    const QString notOscillating = QStringLiteral("non oscilla");
    const auto factor = [&](double value) {
        return QStringLiteral("×") + text(formatSignificant(value, separator));
    };
    const auto orNone = [&](const std::optional<double>& value, auto&& format, const QString& otherwise) {
        return value ? format(*value) : otherwise;
    };
    const auto hertz = [&](double value) { return text(formatEngineering(value, "Hz", separator)); };

    ResultsText r;
    r.idealFrequency = hertz(circuit.naturalFrequency);
    r.measuredFrequency = orNone(measured.frequency, hertz,
                                 notOscillating + QStringLiteral(" (meno di tre passaggi per lo zero)"));
    r.circuitFrequency = orNone(circuit.frequency, hertz, notOscillating);
    r.regime = text(std::string(regimeName(circuit.regime)));
    r.measuredFactor = orNone(measured.factorPerPeriod, factor, notOscillating);
    r.circuitFactor = orNone(circuit.factorPerPeriod, factor, notOscillating);
    r.openLoopGain = text(formatSignificant(run->result.Aol, separator));
    r.stageGain = text(formatSignificant(circuit.stageGain, separator));
    r.gain = QString::number(run->result.K);
    r.step = text(formatEngineering(run->result.Dt, "s", separator));
    r.stepOverCr = text(formatSignificant(run->result.Dt / run->inputs.CR, separator));
    r.sampleCount = QString::number(run->result.Samples);
    r.peak = text(formatEngineering(run->result.Peak, "V", separator));
    if (const QString coarse = coarseStepWarning(*run, circuit); !coarse.isEmpty())
        r.warnings << coarse;
    r.warnings << partlyReadWarnings(run->texts, separator);
    return r;
}

}  // namespace wienbridge
