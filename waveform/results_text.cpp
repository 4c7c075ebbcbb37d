#include "results_text.h"

#include <algorithm>
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

// Whether the text reads like a number with its thousands grouped, "1.000" or
// "12,500": one to three digits, a point or a comma, three digits, which the
// reading takes for a decimal point (1 and 12.5).
bool looksGrouped(std::string_view text)
{
    const auto digits = [&](std::size_t from) {
        std::size_t to = from;
        while (to < text.size() && text[to] >= '0' && text[to] <= '9')
            ++to;
        return to - from;
    };
    text.remove_prefix(std::min(text.find_first_not_of(" \t+-"), text.size()));
    const std::size_t whole = digits(0);
    if (whole < 1 || whole > 3 || text[0] == '0' || whole == text.size()
        || (text[whole] != '.' && text[whole] != ','))
        return false;
    const std::size_t fraction = digits(whole + 1);
    return fraction == 3 && text.find_first_not_of(" \t", whole + 1 + fraction) == std::string_view::npos;
}

// "3x" is read as 3, the rest ignored; "1.000" as 1, the point a decimal point.
QStringList partlyReadWarnings(const BoxTexts& texts, std::string_view separator)
{
    const struct {
        const char* box;
        const std::string& text;
        Quantity quantity;
    } boxes[] = {
        {"CR [usec]", texts.timeConstant, Quantity::TimeConstantText},
        {"N (Numero campioni)", texts.sampleCount, Quantity::SampleCountText},
        {"fc [MHz]", texts.crossover, Quantity::CrossoverText},
        {"R1/R2", texts.ratio, Quantity::RatioText},
    };
    QStringList warnings;
    for (const auto& box : boxes) {
        const bool grouped = looksGrouped(box.text);
        if (readsWhole(box.text) && !grouped)
            continue;
        std::string value;
        // Read once already by the run, so it reads again without failing.
        appendShortest(value, readNumber(box.text, box.quantity));
        if (const auto point = value.find('.'); point != std::string::npos)
            value.replace(point, 1, separator);
        const QString why = grouped ? QStringLiteral("«.» e «,» separano i decimali, non le migliaia")
                                    : QStringLiteral("il resto è ignorato");
        warnings << QStringLiteral("Casella %1: «%2» è stato letto come %3; %4.")
                        .arg(QString::fromLatin1(box.box), text(box.text), text(value), why);
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
