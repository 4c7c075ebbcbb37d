#include "messages/results_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "messages/regime_names.h"
#include "runtime/number_format.h"
#include "runtime/number_reading.h"
#include "simulation/circuit_theory.h"
#include "simulation/op_amp_circuit.h"

namespace wienbridge {
namespace {

constexpr double kTolerableFrequencyError = 0.02;
// Below this N the recurrence is unstable whatever K: the samples grow.
constexpr std::int32_t kLargestUnstableN = 5;

const std::string kNone = "—";

// The shortest form that reads back as the same double, with the given separator.
std::string shortest(double value, std::string_view separator)
{
    std::string text;
    appendShortest(text, value);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

// The shortest text of four or more significant digits that reads as no less
// than `value`: a ratio to reach, written so that typing it reaches it.
std::string atLeast(double value, std::string_view separator)
{
    std::array<char, 32> buffer;
    std::string text;
    for (int digits = 4; digits <= 17; ++digits) {
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::general, digits)
                             .ptr;
        double read = 0;
        std::from_chars(buffer.data(), end, read);
        text.assign(buffer.data(), end);
        if (read >= value)
            break;
    }
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

// The step is too coarse for the samples to stand for the circuit: one line
// saying why, or none. Frequencies are compared by magnitude, so that a
// negative CR, which makes every one of them negative, warns as a positive one.
std::optional<std::string> coarseStepWarning(const FinishedRun& run, const CircuitTheory& circuit)
{
    const std::optional<double> measured = run.cycles.frequency;
    if (run.inputs.N <= kLargestUnstableN)
        return "Passo troppo grande: con N ≤ 5 la ricorrenza è instabile e il regime indicato da K non "
               "descrive i campioni.";
    if (measured && !circuit.frequency)
        return "Passo troppo grande: i campioni oscillano, il circuito no; aumenta N.";
    if (measured
        && std::fabs(std::fabs(*measured) - std::fabs(*circuit.frequency))
               > kTolerableFrequencyError * std::fabs(*circuit.frequency))
        return "Passo troppo grande: la frequenza dei campioni si scosta di oltre il 2 % da quella del "
               "circuito; aumenta N.";
    return std::nullopt;
}

// Whether the text reads like a number with its thousands grouped, "1.000" or
// "12,500": one to three digits, not starting with 0, a point or a comma, three
// digits, which the reading takes for a decimal point (1 and 12.5).
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

struct Box {
    const char* name;
    const std::string& text;
    Quantity quantity;
};

std::vector<Box> boxesOf(const BoxTexts& texts)
{
    return {
        {"CR [usec]", texts.timeConstant, Quantity::TimeConstantText},
        {"N (Numero campioni)", texts.sampleCount, Quantity::SampleCountText},
        {"fc [MHz]", texts.crossover, Quantity::CrossoverText},
        {"R1/R2", texts.ratio, Quantity::RatioText},
    };
}

// Every box that was not read as a whole number: "3x" read as 3, "1.000" as 1,
// and an empty box or one without a number, read as 0.
std::vector<std::string> readingWarnings(const BoxTexts& texts, std::string_view separator)
{
    std::vector<std::string> warnings;
    for (const Box& box : boxesOf(texts)) {
        const std::string where = std::string("Casella ") + box.name + ": ";
        const std::string quoted = "«" + box.text + "»";
        switch (howTextReads(box.text)) {
        case TextReading::Blank:
            warnings.push_back(where + "vuota, letta come 0.");
            continue;
        case TextReading::NoNumber:
            warnings.push_back(where + quoted + " non contiene un numero ed è stata letta come 0.");
            continue;
        case TextReading::Whole:
            if (!looksGrouped(box.text))
                continue;
            break;
        case TextReading::Partly:
            break;
        }
        // Read once already by the run, so it reads again without failing.
        const std::string value = shortest(readNumber(box.text, box.quantity), separator);
        const char* why =
            looksGrouped(box.text) ? "«.» e «,» separano i decimali, non le migliaia" : "il resto è ignorato";
        warnings.push_back(where + quoted + " è stato letto come " + value + "; " + why + ".");
    }
    return warnings;
}

// Values a circuit cannot have: the run goes on, and says so.
std::vector<std::string> meaninglessInputWarnings(const RunInputs& inputs)
{
    std::vector<std::string> warnings;
    const auto negative = [&](bool is, const char* box, const char* what) {
        if (is)
            warnings.push_back(std::string("Casella ") + box + ": " + what
                               + " negativo non ha significato fisico per il circuito; il calcolo procede "
                                 "comunque.");
    };
    negative(inputs.CR < 0, "CR [usec]", "un valore");
    negative(inputs.Fc < 0, "fc [MHz]", "un valore");
    negative(inputs.Ratio < 0, "R1/R2", "un rapporto");
    return warnings;
}

// What the real op-amp changes that the model does not show, one line each.
std::vector<std::string> realCircuitWarnings(const FinishedRun& run, const OpAmpCircuit& circuit,
                                             std::string_view separator)
{
    if (!circuit.exists)
        return {
            "Aol non è positivo e finito (fc nullo, CR o fc negativi): il circuito con A.O. reale non si "
            "può descrivere."};
    std::vector<std::string> warnings;
    const Regime model = regimeOf(run.result.K);
    if (circuit.regime != model) {
        std::string line = "Regime diverso: secondo il modello (K = " + std::to_string(run.result.K)
                           + ") l'oscillazione è " + std::string(regimeName(model))
                           + ", nel circuito con A.O. reale è " + std::string(regimeName(circuit.regime));
        if (circuit.regime == Regime::Damped && circuit.minimum)
            line += "; per oscillare gli serve R1/R2 ≥ " + atLeast(circuit.minimum->ratio, separator);
        warnings.push_back(line + ".");
    }
    if (!circuit.minimum)
        warnings.push_back("Con Aol ≤ 1 nessun R1/R2 fa oscillare il circuito con A.O. reale.");
    if (circuit.factorOverflows)
        warnings.push_back(
            "Il fattore per periodo del circuito con A.O. reale supera il più grande numero "
            "rappresentabile.");
    return warnings;
}

}  // namespace

std::vector<std::string> runWarnings(const FinishedRun& run, std::string_view separator)
{
    std::vector<std::string> warnings;
    if (std::optional<std::string> coarse = coarseStepWarning(run, circuitTheory(run.inputs, run.result)))
        warnings.push_back(std::move(*coarse));
    for (const std::vector<std::string>& more :
         {realCircuitWarnings(run, opAmpCircuit(run.inputs, run.result), separator),
          readingWarnings(run.texts, separator), meaninglessInputWarnings(run.inputs)})
        warnings.insert(warnings.end(), more.begin(), more.end());
    return warnings;
}

ResultsText resultsText(const FinishedRun* run, std::string_view separator)
{
    ResultsText r;
    r.headings = {"Sui campioni", "Circuito continuo, stesso K", "Circuito con A.O. reale"};
    r.modelNote =
        "Il modello tratta l'A.O. come un guadagno reale di modulo Aol, senza sfasamento, e arrotonda il "
        "guadagno dello stadio al numero intero più vicino, K.";
    const std::string notOscillating = "non oscilla";
    const auto hertz = [&](double value) { return formatEngineering(value, "Hz", separator); };
    const auto factor = [&](double value) { return "×" + formatSignificant(value, separator); };
    const auto orNone = [&](const std::optional<double>& value, auto&& format, const std::string& otherwise) {
        return value ? format(*value) : otherwise;
    };

    std::optional<CircuitTheory> circuit;
    std::optional<OpAmpCircuit> real;
    if (run) {
        circuit = circuitTheory(run->inputs, run->result);
        real = opAmpCircuit(run->inputs, run->result);
    }
    // The real circuit's value, or why there is none.
    const auto ofReal = [&](const std::optional<double>& value, auto&& format, const std::string& otherwise) {
        return !real->exists ? kNone : orNone(value, format, otherwise);
    };
    const std::string noRatio = "nessuno";
    // Each row's text from the run, or "—" in each of its `columns` without one.
    const auto row = [&](std::string label, std::size_t columns, auto&& values) {
        if (!run)
            return ResultsRow{std::move(label), std::vector<std::string>(columns, kNone)};
        return ResultsRow{std::move(label), values()};
    };
    using Values = std::vector<std::string>;

    r.inputs = {
        row("CR [usec]", 1,
            [&] {
                return Values{
                    shortest(readNumber(run->texts.timeConstant, Quantity::TimeConstantText), separator)};
            }),
        row("N", 1, [&] { return Values{std::to_string(run->inputs.N)}; }),
        row("fc [MHz]", 1, [&] { return Values{shortest(run->inputs.Fc, separator)}; }),
        row("R1/R2", 1, [&] { return Values{shortest(run->inputs.Ratio, separator)}; }),
    };
    r.rows = {
        row("Oscillazione", 3,
            [&] {
                return Values{"", std::string(regimeName(circuit->regime)),
                              real->exists ? std::string(regimeName(real->regime)) : kNone};
            }),
        row("Frequenza", 3,
            [&] {
                return Values{orNone(run->cycles.frequency, hertz,
                                     notOscillating + " (meno di tre passaggi per lo zero)"),
                              orNone(circuit->frequency, hertz, notOscillating),
                              ofReal(real->frequency, hertz, notOscillating)};
            }),
        row("Fattore di ampiezza per periodo", 3,
            [&] {
                return Values{orNone(run->cycles.factorPerPeriod, factor, notOscillating),
                              orNone(circuit->factorPerPeriod, factor, notOscillating),
                              real->factorOverflows ? std::string("oltre il massimo")
                                                    : ofReal(real->factorPerPeriod, factor, notOscillating)};
            }),
        row("R1/R2 minimo per oscillare", 3,
            [&] {
                const std::string needed = real->minimum ? atLeast(real->minimum->ratio, separator) : noRatio;
                return Values{"", "2", real->exists ? needed : kNone};
            }),
        row("Frequenza con R1/R2 minimo", 3,
            [&] {
                const std::string there = real->minimum ? hertz(real->minimum->frequency) : noRatio;
                return Values{"", hertz(circuit->naturalFrequency), real->exists ? there : kNone};
            }),
        row("Frequenza ideale f0 = 1/(2π·CR)", 1, [&] { return Values{hertz(circuit->naturalFrequency)}; }),
        row("Guadagno dell'A.O. a f0, Aol", 1,
            [&] { return Values{formatSignificant(run->result.Aol, separator)}; }),
        row("Guadagno dello stadio Aol/(Aol·(1/(R1/R2 + 1)) + 1)", 1,
            [&] { return Values{formatSignificant(circuit->stageGain, separator)}; }),
        row("K", 1, [&] { return Values{std::to_string(run->result.K)}; }),
        row("Passo Dt", 1, [&] { return Values{formatEngineering(run->result.Dt, "s", separator)}; }),
        row("Dt/CR", 1,
            [&] { return Values{formatSignificant(run->result.Dt / run->inputs.CR, separator)}; }),
        row("Campioni", 1, [&] { return Values{std::to_string(run->result.Samples)}; }),
        row("Valore di picco (Peak)", 1,
            [&] { return Values{formatEngineering(run->result.Peak, "V", separator)}; }),
    };
    if (run)
        r.warnings = runWarnings(*run, separator);
    return r;
}

}  // namespace wienbridge
