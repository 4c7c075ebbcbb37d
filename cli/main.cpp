// wienbridge-sim: one run of the oscillator without windows. The four options
// are read exactly as the parameter window reads its boxes; the results are
// printed with "." as the decimal point whatever the locale.

#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "colours.h"
#include "console.h"
#include "curve_reduction.h"
#include "failure_hints.h"
#include "oscillator_model.h"
#include "parameter_reading.h"
#include "plot_drawing.h"
#include "plot_image.h"
#include "runtime_error.h"
#include "sample_observer.h"

namespace {

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
    "\n"
    "I valori si leggono come nelle caselle della finestra: \".\" o \",\" separa i\n"
    "decimali, la lettura si ferma al primo carattere che non continua il numero,\n"
    "un testo senza numero vale 0. Senza --samples stampa CR, Fc, N, Ratio, Dt,\n"
    "Aol, K e Peak. Uscita: 0 riuscito, 1 errore di calcolo (messaggio su stderr),\n"
    "2 uso errato o file non scrivibile.\n";

struct Options {
    std::string cr = "159.15";
    std::string n = "100";
    std::string fc = "3";
    std::string ratio = "2";
    bool samples = false;
    std::string png;
};

// The shortest text that reads back as the same double.
void appendNumber(std::string& out, double value)
{
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

int usageError(std::string_view message)
{
    std::fprintf(stderr, "wienbridge-sim: %.*s\n\n%.*s", static_cast<int>(message.size()), message.data(),
                 static_cast<int>(kUsage.size()), kUsage.data());
    return 2;
}

// Writes "i,vp,vo" lines as the samples arrive, a buffer at a time.
class CsvWriter final : public wienbridge::SampleObserver {
public:
    CsvWriter() { out_ = "i,vp,vo\n"; }
    ~CsvWriter() override { flush(); }

    void observe(std::int64_t first, std::span<const double> vp, std::span<const double> vo) override
    {
        for (std::size_t j = 0; j < vo.size(); ++j) {
            out_ += std::to_string(first + static_cast<std::int64_t>(j));
            out_ += ',';
            appendNumber(out_, vp[j]);
            out_ += ',';
            appendNumber(out_, vo[j]);
            out_ += '\n';
        }
        if (out_.size() > (1 << 16))
            flush();
    }

    void flush()
    {
        std::fwrite(out_.data(), 1, out_.size(), stdout);
        out_.clear();
    }

private:
    std::string out_;
};

// Takes samples and forgets them: the run without CSV.
class NoSamples final : public wienbridge::SampleObserver {
public:
    void observe(std::int64_t, std::span<const double>, std::span<const double>) override {}
};

void printSummary(const wienbridge::RunInputs& in, const wienbridge::RunResult& r)
{
    std::string out;
    const auto line = [&](const char* name, double value) {
        out += name;
        out += '=';
        appendNumber(out, value);
        out += '\n';
    };
    line("CR", in.CR);
    line("Fc", in.Fc);
    out += "N=" + std::to_string(in.N) + '\n';
    line("Ratio", in.Ratio);
    line("Dt", r.Dt);
    line("Aol", r.Aol);
    out += "K=" + std::to_string(r.K) + '\n';
    line("Peak", r.Peak);
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace wienbridge;
    prepareConsole();
    argv = utf8Arguments(argc, argv);
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
            return 0;
        }
        if (arg == "--samples") {
            options.samples = true;
            continue;
        }
        std::string* target = arg == "--cr"      ? &options.cr
                              : arg == "--n"     ? &options.n
                              : arg == "--fc"    ? &options.fc
                              : arg == "--ratio" ? &options.ratio
                              : arg == "--png"   ? &options.png
                                                 : nullptr;
        if (target == nullptr)
            return usageError("opzione sconosciuta: " + std::string(arg));
        if (i + 1 >= argc)
            return usageError("manca il valore di " + std::string(arg));
        *target = argv[++i];
    }

    try {
        // The order of the window's run: the ratio, the axes, then the other boxes.
        const double ratio = readRatio(options.ratio);
        PlotImage plot;
        prepareAxes(plot, colours::black());
        const RunInputs inputs = readRunInputs(ratio, {options.cr, options.n, options.fc});
        CurveReduction curve(plot.geometry());
        RunResult result;
        if (options.samples) {
            CsvWriter csv;
            BothObservers both(curve, csv);
            result = simulate(inputs, both);
        } else {
            NoSamples none;
            result = simulate(inputs, options.png.empty() ? static_cast<SampleObserver&>(none) : curve);
        }
        if (!options.png.empty()) {
            explainingFailures(RunStage::Curve, inputs, result, [&] { drawCurve(plot, curve, result.Peak); });
            if (!plot.image().save(QString::fromStdString(options.png), "PNG")) {
                std::fprintf(stderr, "wienbridge-sim: impossibile scrivere %s\n", options.png.c_str());
                return 2;
            }
        }
        if (!options.samples)
            printSummary(inputs, result);
    } catch (const RuntimeError& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", error.fullText().c_str());
        return 1;
    }
    return 0;
}
