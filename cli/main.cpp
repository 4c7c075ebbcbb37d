// wienbridge-sim: one run of the oscillator without windows. The four options
// are read exactly as the parameter window reads its boxes, through the same
// run; the results are printed with "." as the decimal point whatever the locale.

#include <csignal>
#include <cstdio>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include <QIODevice>
#include <QImage>

#include "cli/console.h"
#include "cli/sweep_command.h"
#include "messages/regime_names.h"
#include "messages/results_text.h"
#include "plot/curve_reduction.h"
#include "plot/plot_drawing.h"
#include "plot/plot_image.h"
#include "run/run_sequence.h"
#include "run/whole_file.h"
#include "runtime/number_format.h"
#include "simulation/circuit_theory.h"
#include "simulation/csv_samples.h"
#include "simulation/op_amp_circuit.h"

namespace {

using namespace wienbridge;

constexpr std::string_view kUsage =
    "Uso: wienbridge-sim [--cr USEC] [--n N] [--fc MHZ] [--ratio R] [--samples] [--png FILE]\n"
    "       wienbridge-sim --sweep NOME:DA:A:PUNTI[:lin|:log] [--threads K] [opzioni]\n"
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
    "  --sweep NOME:DA:A:PUNTI[:lin|:log]\n"
    "               fa variare NOME (cr, n, fc o ratio, nelle unità delle opzioni)\n"
    "               da DA ad A in PUNTI punti (da 2 a 1000), in progressione\n"
    "               geometrica (log, predefinita per cr e fc) o lineare (lin,\n"
    "               predefinita per n e ratio), e stampa un CSV con una riga per\n"
    "               punto: NOME,K,Regime,Frequency,GrowthPerPeriod,CircuitRegime,\n"
    "               CircuitFrequency,CircuitGrowthPerPeriod,Peak,Error\n"
    "  --threads K  usa al più K thread per --sweep (predefinito: tutti i core)\n"
    "  --help       mostra questo aiuto\n"
    "  --version    mostra la versione\n"
    "\n"
    "Ogni opzione con valore si scrive anche --opzione=valore. I valori si leggono\n"
    "come nelle caselle della finestra: \".\" o \",\" separa i decimali, la lettura si\n"
    "ferma al primo carattere che non continua il numero, un testo senza numero\n"
    "vale 0. Senza --samples stampa CR, Fc, N, Ratio, Dt, Aol, K, Peak, F0 (Hz),\n"
    "Gain (guadagno dello stadio prima dell'arrotondamento), Regime e, se la curva\n"
    "oscilla, Frequency (Hz, misurata sui campioni) e GrowthPerPeriod; del circuito\n"
    "con A.O. reale (a un polo) CircuitRegime e, se oscilla, CircuitFrequency e\n"
    "CircuitGrowthPerPeriod, poi MinimumRatio (il minimo R1/R2 che sostiene\n"
    "l'oscillazione) e MinimumRatioFrequency; infine una riga Warning= per ogni\n"
    "avvertenza della finestra Risultati.\n"
    "Uscita: 0 riuscito, 1 errore di calcolo (messaggio su stderr; con --sweep,\n"
    "se nessun punto riesce), 2 uso errato\n"
    "o file non scrivibile.\n";

// Whether the whole text went to standard output; whether it reached the
// destination shows only at the flush that ends the program.
bool writeOut(std::string_view text)
{
    return writeWhole(stdout, text);
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
    std::optional<std::string> sweep, threads;
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
        std::string* target = arg == "--cr"        ? &options.boxes.timeConstant
                              : arg == "--n"       ? &options.boxes.sampleCount
                              : arg == "--fc"      ? &options.boxes.crossover
                              : arg == "--ratio"   ? &options.boxes.ratio
                              : arg == "--png"     ? &options.png
                              : arg == "--sweep"   ? &options.sweep.emplace()
                              : arg == "--threads" ? &options.threads.emplace()
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
// samples written to standard output as they come for --samples. A write that
// fails stops the run and ends the program with status 2.
class CommandLineRun final : public RunFrontEnd {
public:
    explicit CommandLineRun(const Options& options) : png_(options.png)
    {
        if (!png_.empty())
            plot_.emplace();
        if (options.samples)
            csv_ = std::make_shared<CsvSamples>([this](std::string_view text) {
                if (!writeOut(text))
                    outputFailed(standardOutputName(true));
            });
    }

    int exitCode() const { return exitCode_; }

    // Every byte meant for standard output is out of the program's hands, or
    // the program says what was lost.
    void finish()
    {
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            outputFailed(standardOutputName(csv_ != nullptr));
    }

private:
    void prepareAxes() override
    {
        if (!plot_)
            return;
        wienbridge::prepareAxes(*plot_);
        curve_ = std::make_shared<CurveReduction>(plot_->geometry());
    }
    std::shared_ptr<SampleObserver> observer(const RunInputs&) override
    {
        return std::make_shared<SharedObservers>(SharedObservers{curve_, csv_});
    }
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
    {
        done(computeNow(computation, stop_.get_token()));
    }

    void finished(std::shared_ptr<const FinishedRun> run) override
    {
        if (csv_)
            csv_->flush();
        if (plot_) {
            drawCurve(*plot_, *curve_, run->result.Peak);
            const QImage& image = plot_->image();
            if (!writeWholeFile(QString::fromStdString(png_),
                                [&](QIODevice& file) { return image.save(&file, "PNG"); })) {
                writeFailed(png_);
                return;
            }
        }
        if (!csv_ && !writeOut(summary(*run)))
            outputFailed(standardOutputName(false));
    }

    void failed(const FailureMessage& failure) override
    {
        if (csv_)
            csv_->flush();  // the samples before the failure
        std::fflush(stdout);
        writeError(failure.text() + '\n');
        exitCode_ = 1;
    }

    // Only a failed write stops a run here.
    void cancelled() override {}

    void outputFailed(std::string_view what)
    {
        stop_.request_stop();
        if (exitCode_ != 2)
            writeFailed(what);
    }

    void writeFailed(std::string_view what)
    {
        writeError("wienbridge-sim: " + cannotWrite(what) + '\n');
        exitCode_ = 2;
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
        if (const OpAmpCircuit real = opAmpCircuit(run.inputs, run.result); real.exists) {
            out += "CircuitRegime=" + std::string(regimeName(real.regime)) + '\n';
            if (real.oscillates()) {
                line("CircuitFrequency", *real.frequency);
                if (real.factorPerPeriod)
                    line("CircuitGrowthPerPeriod", *real.factorPerPeriod);
            }
            if (real.minimum) {
                line("MinimumRatio", real.minimum->ratio);
                line("MinimumRatioFrequency", real.minimum->frequency);
            }
        }
        for (const std::string& warning : runWarnings(run, "."))
            out += "Warning=" + warning + '\n';
        return out;
    }

    std::string png_;
    std::optional<PlotImage> plot_;
    std::shared_ptr<CurveReduction> curve_;
    std::shared_ptr<CsvSamples> csv_;
    std::stop_source stop_;
    int exitCode_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    prepareConsole();
    argv = utf8Arguments(argc, argv);
    Options options;
    SweepCommand sweep;
    std::optional<std::string> problem = parseArguments(argc, argv, options);
    if (!problem && (options.sweep || options.threads))
        problem =
            readSweepCommand(options.sweep, options.threads, !options.samples && options.png.empty(), sweep);
    if (problem) {
        writeError("wienbridge-sim: " + *problem + "\nProva 'wienbridge-sim --help'\n");
        return 2;
    }
    if (options.help || options.version) {
        writeOut(options.help ? kUsage : "wienbridge-sim 1.00\n");
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 2;
    }
#ifdef SIGXFSZ
    // A file cut short by a size limit is then a write that fails, which leaves
    // no file, rather than the end of the program, which would leave its start.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (options.sweep)
        return runSweepCommand(options.boxes, sweep);
    CommandLineRun run(options);
    startRun(options.boxes, run);
    run.finish();
    return run.exitCode();
}
