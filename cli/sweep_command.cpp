#include "cli/sweep_command.h"

#include <charconv>
#include <cstdio>
#include <stop_token>
#include <string_view>
#include <vector>

#include "cli/console.h"
#include "messages/failure_messages.h"
#include "messages/sweep_table.h"
#include "run/sweep_run.h"

namespace wienbridge {
namespace {

constexpr std::string_view kForm = "--sweep vuole NOME:DA:A:PUNTI[:lin|:log], NOME tra cr, n, fc e ratio: ";

std::optional<SweptInput> sweptInput(std::string_view name)
{
    for (const SweptInput input :
         {SweptInput::TimeConstant, SweptInput::SampleCount, SweptInput::Crossover, SweptInput::Ratio})
        if (name == sweptOptionName(input))
            return input;
    return std::nullopt;
}

template <class Integer>
std::optional<Integer> wholeInteger(std::string_view text)
{
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Through writeWhole, as every write of the program: on Windows a Ctrl+C
// then waits for the row under way and shows it whole.
bool writeLine(const std::string& line)
{
    return writeWhole(stdout, line) && std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace

std::optional<std::string> readSweepCommand(const std::optional<std::string>& sweep,
                                            const std::optional<std::string>& threads, bool alone,
                                            SweepCommand& command)
{
    if (!sweep)
        return "--threads vale solo con --sweep";
    if (!alone)
        return "--sweep non si usa con --samples né con --png";
    std::vector<std::string_view> fields;
    for (std::string_view rest = *sweep;;) {
        const std::size_t colon = rest.find(':');
        fields.push_back(rest.substr(0, colon));
        if (colon == std::string_view::npos)
            break;
        rest.remove_prefix(colon + 1);
    }
    if (fields.size() < 4 || fields.size() > 5)
        return std::string(kForm) + *sweep;
    const std::optional<SweptInput> input = sweptInput(fields[0]);
    if (!input)
        return "grandezza sconosciuta in --sweep: " + std::string(fields[0]) + " (cr, n, fc o ratio)";
    const std::optional<double> from = readSweepEnd(fields[1]);
    const std::optional<double> to = readSweepEnd(fields[2]);
    const std::optional<int> count = wholeInteger<int>(fields[3]);
    if (!from || !to || !count)
        return std::string(kForm) + *sweep;
    Spacing spacing = defaultSpacing(*input);
    if (fields.size() == 5) {
        if (fields[4] != "lin" && fields[4] != "log")
            return std::string(kForm) + *sweep;
        spacing = fields[4] == "log" ? Spacing::Geometric : Spacing::Linear;
    }
    command = {std::string(fields[0]), {*input, *from, *to, *count, spacing}, everyCore()};
    if (const std::optional<RangeProblem> problem = rangeProblem(command.range))
        return "--sweep " + *sweep + ": " + std::string(rangeProblemText(*problem));
    if (threads) {
        const std::optional<unsigned> workers = wholeInteger<unsigned>(*threads);
        if (!workers || *workers == 0)
            return "--threads vuole un numero intero maggiore di zero: " + *threads;
        command.threads = *workers;
    }
    return std::nullopt;
}

int runSweepCommand(const BoxTexts& others, const SweepCommand& command)
{
    std::stop_source stop;
    bool written = writeLine(sweepCsvHeader(command.name));
    int failures = 0;
    if (written)
        runSweep(others, command.range, command.threads, stop.get_token(), [&](const SweepPoint& point) {
            failures += point.values ? 0 : 1;
            if (!writeLine(sweepCsvLine(point))) {
                written = false;
                stop.request_stop();
            }
        });
    if (!written) {
        writeWhole(stderr, "wienbridge-sim: " + cannotWrite("l'andamento sull'uscita standard") + '\n');
        return 2;
    }
    if (failures == command.range.count) {
        writeWhole(stderr, "wienbridge-sim: nessun punto dell'andamento è riuscito\n");
        return 1;
    }
    return 0;
}

}  // namespace wienbridge
