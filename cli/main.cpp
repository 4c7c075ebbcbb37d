// wienbridge-sim: one run of the oscillator without windows. The four options
// are read exactly as the parameter window reads its boxes, through the same
// run; the results are printed with "." as the decimal point whatever the locale.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "circuit_theory.h"
#include "console.h"
#include "csv_samples.h"
#include "number_format.h"
#include "plot_image.h"
#include "regime_names.h"
#include "run_sequence.h"

namespace {

using namespace wienbridge;

constexpr std::string_view kUsage =
    "Uso: wienbridge-sim [--cr USEC] [--n N] [--fc MHZ] [--ratio R] [--samples] [--png FILE]\n"
    "\n"
    "Simula l'oscillatore a ponte di Wien per 100 costanti di tempo in 10*N passi.\n"
    "\n"
    "  --cr USEC    costante di tempo CR in microsecondi (predefinito 159.15)\n"
    "  --n N        numero campioni N; i passi sono 10*N (predefinito 100)\n"
    "  --fc MHZ     frequenza di crossover dell'A.O. in MHz (predefinito 3)\n"
    "  --ratio R    rapporto R1/R2 (predefinito 2)\n"
    "  --samples    stampa i campioni come CSV, man mano che si calcolano:\n"
    "               i,vp,vo per i = 1..10*N\n"
    "  --png FILE   salva il grafico di Vo come nella finestra, in PNG\n"
    "  --help       mostra questo aiuto\n"
    "  --version    mostra la versione\n"
    "\n"
    "Ogni opzione con valore si scrive anche --opzione=valore. I valori si leggono\n"
    "come nelle caselle della finestra: \".\" o \",\" separa i decimali, la lettura si\n"
    "ferma al primo carattere che non continua il numero, un testo senza numero\n"
    "vale 0. Senza --samples stampa CR, Fc, N, Ratio, Dt, Aol, K, Peak, F0 (Hz),\n"
    "Gain (guadagno dello stadio prima dell'arrotondamento), Regime e, se la curva\n"
    "oscilla, Frequency (Hz, misurata sui campioni) e GrowthPerPeriod.\n"
    "Uscita: 0 riuscito, 1 errore di calcolo (messaggio su stderr), 2 uso errato\n"
    "o file non scrivibile.\n";

void writeOut(std::string_view text)
{
    writeWhole(stdout, text);
}

void writeError(std::string_view text)
{
    writeWhole(stderr, text);
}

struct Options {
    BoxTexts boxes{"159.15", "100", "3", "2"};
    bool samples = false;
    std::string png;
    bool help = false;
    bool version = false;
};

// Reads the arguments into `options`; returns the problem with them, if any.
std::optional<std::string> parseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (arg == "--samples") {
            options.samples = true;
            continue;
        }
        std::optional<std::string_view> value;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        std::string* target = arg == "--cr"      ? &options.boxes.timeConstant
                              : arg == "--n"     ? &options.boxes.sampleCount
                              : arg == "--fc"    ? &options.boxes.crossover
                              : arg == "--ratio" ? &options.boxes.ratio
                              : arg == "--png"   ? &options.png
                                                 : nullptr;
        if (!target)
            return "opzione sconosciuta: " + std::string(argv[i]);
        if (!value) {
            if (i + 1 >= argc)
                return "manca il valore di " + std::string(arg);
            value = argv[++i];
        }
        *target = std::string(*value);
    }
    return std::nullopt;
}

// The command line's side of a run: computed here, drawn only for --png, the
// samples written to standard output as they come for --samples.
class CommandLineRun final : public RunFrontEnd {
public:
    explicit CommandLineRun(const Options& options) : png_(options.png)
    {
        if (!png_.empty())
            plot_.emplace();
        if (options.samples)
            csv_.emplace(writeOut);
    }

    int exitCode() const { return exitCode_; }

private:
    PlotImage* plot() override { return plot_ ? &*plot_ : nullptr; }
    SampleObserver* extraObserver() override { return csv_ ? &*csv_ : nullptr; }
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
    {
        done(computeNow(computation));
        if (csv_)
            csv_->flush();
    }

    void finished(std::shared_ptr<const FinishedRun> run) override
    {
        if (plot_ && !plot_->image().save(QString::fromStdString(png_), "PNG")) {
            writeError("wienbridge-sim: impossibile scrivere " + png_ + '\n');
            exitCode_ = 2;
            return;
        }
        if (!csv_)
            writeOut(summary(*run));
    }

    void failed(const FailureMessage& failure) override
    {
        if (csv_)
            csv_->flush();
        std::fflush(stdout);
        writeError(failure.text() + '\n');
        exitCode_ = 1;
    }

    static std::string summary(const FinishedRun& run)
    {
        std::string out;
        const auto line = [&](const char* name, double value) {
            out += name;
            out += '=';
            appendShortest(out, value);
            out += '\n';
        };
        line("CR", run.inputs.CR);
        line("Fc", run.inputs.Fc);
        out += "N=" + std::to_string(run.inputs.N) + '\n';
        line("Ratio", run.inputs.Ratio);
        line("Dt", run.result.Dt);
        line("Aol", run.result.Aol);
        out += "K=" + std::to_string(run.result.K) + '\n';
        line("Peak", run.result.Peak);
        const CircuitTheory circuit = circuitTheory(run.inputs, run.result);
        line("F0", circuit.naturalFrequency);
        line("Gain", circuit.stageGain);
        out += "Regime=" + std::string(regimeName(circuit.regime)) + '\n';
        if (run.cycles.oscillates()) {
            line("Frequency", *run.cycles.frequency);
            line("GrowthPerPeriod", *run.cycles.factorPerPeriod);
        }
        return out;
    }

    std::string png_;
    std::optional<PlotImage> plot_;
    std::optional<CsvSamples> csv_;
    int exitCode_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    prepareConsole();
    argv = utf8Arguments(argc, argv);
    Options options;
    if (const std::optional<std::string> problem = parseArguments(argc, argv, options)) {
        writeError("wienbridge-sim: " + *problem + "\nProva 'wienbridge-sim --help'\n");
        return 2;
    }
    if (options.help) {
        writeOut(kUsage);
        return 0;
    }
    if (options.version) {
        writeOut("wienbridge-sim 1.00\n");
        return 0;
    }
    CommandLineRun run(options);
    startRun(options.boxes, run);
    return run.exitCode();
}
