#include "messages/sweep_table.h"

#include <optional>

#include "messages/regime_names.h"
#include "runtime/number_format.h"

namespace wienbridge {
namespace {

std::string shortest(double value, std::string_view separator = ".")
{
    std::string text;
    appendShortest(text, value);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

// A field as RFC 4180 has it: quoted, its quotes doubled, only where it needs to be.
std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

// The columns after the swept value, in the order both the CSV and the table show them.
template <class Factor, class Hertz, class Volts>
std::vector<std::string> columns(const SweepPoint& point, Factor&& factor, Hertz&& hertz, Volts&& volts,
                                 bool withNaturalFrequency)
{
    const auto orEmpty = [](const std::optional<double>& value, auto&& format) {
        return value ? format(*value) : std::string();
    };
    std::vector<std::string> cells;
    if (const std::optional<PointValues>& v = point.values) {
        cells = {std::to_string(v->K),
                 std::string(regimeName(v->regime)),
                 orEmpty(v->frequency, hertz),
                 orEmpty(v->factorPerPeriod, factor),
                 v->circuitRegime ? std::string(regimeName(*v->circuitRegime)) : std::string(),
                 orEmpty(v->circuitFrequency, hertz),
                 orEmpty(v->circuitFactorPerPeriod, factor)};
        if (withNaturalFrequency)
            cells.push_back(hertz(v->naturalFrequency));
        cells.push_back(volts(v->peak));
    } else {
        cells.assign(withNaturalFrequency ? 9 : 8, std::string());
    }
    cells.push_back(point.error);
    return cells;
}

}  // namespace

std::string_view sweptOptionName(SweptInput input)
{
    switch (input) {
    case SweptInput::TimeConstant:
        return "cr";
    case SweptInput::SampleCount:
        return "n";
    case SweptInput::Crossover:
        return "fc";
    case SweptInput::Ratio:
        return "ratio";
    }
    return "";
}

std::string_view sweptBoxName(SweptInput input)
{
    switch (input) {
    case SweptInput::TimeConstant:
        return "CR [usec]";
    case SweptInput::SampleCount:
        return "N";
    case SweptInput::Crossover:
        return "fc [MHz]";
    case SweptInput::Ratio:
        return "R1/R2";
    }
    return "";
}

std::string_view rangeProblemText(RangeProblem problem)
{
    switch (problem) {
    case RangeProblem::PointCount:
        return "il numero di punti va da 2 a 1000";
    case RangeProblem::GeometricNotPositive:
        return "con la spaziatura geometrica gli estremi devono essere maggiori di zero";
    case RangeProblem::TooWide:
        return "gli estremi sono troppo distanti per una spaziatura lineare";
    }
    return "";
}

std::string sweepCsvHeader(std::string_view name)
{
    return std::string(name)
           + ",K,Regime,Frequency,GrowthPerPeriod,CircuitRegime,CircuitFrequency,CircuitGrowthPerPeriod,Peak,"
             "Error\n";
}

std::string sweepCsvLine(const SweepPoint& point)
{
    const auto plain = [](double value) { return shortest(value); };
    std::string line = shortest(point.value);
    for (const std::string& cell : columns(point, plain, plain, plain, false))
        line += ',' + csvField(cell);
    return line + '\n';
}

std::vector<std::string> sweepTableHeadings(SweptInput input)
{
    return {std::string(sweptBoxName(input)),
            "K",
            "Regime",
            "Frequenza sui campioni",
            "Fattore per periodo sui campioni",
            "Regime con A.O. reale",
            "Frequenza con A.O. reale",
            "Fattore per periodo con A.O. reale",
            "f0",
            "Picco",
            "Errore"};
}

std::vector<std::string> sweepTableCells(const SweepPoint& point, std::string_view separator)
{
    std::vector<std::string> cells{formatSignificant(point.value, separator)};
    const auto factor = [&](double value) { return "×" + formatSignificant(value, separator); };
    const auto hertz = [&](double value) { return formatEngineering(value, "Hz", separator); };
    const auto volts = [&](double value) { return formatEngineering(value, "V", separator); };
    for (std::string& cell : columns(point, factor, hertz, volts, true))
        cells.push_back(std::move(cell));
    return cells;
}

}  // namespace wienbridge
