// wienbridge-sim: one run of the oscillator without windows. The four options
// are read exactly as the parameter window reads its boxes; the results are
// printed with "." as the decimal point whatever the locale.

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "module_state.h"
#include "run_sequence.h"
#include "runtime_error.h"

namespace {

constexpr std::string_view kUsage =
    "Uso: wienbridge-sim [--cr USEC] [--n N] [--fc MHZ] [--ratio R] [--samples]\n"
    "\n"
    "Simula l'oscillatore a ponte di Wien per 100 costanti di tempo in 10*N passi.\n"
    "\n"
    "  --cr USEC    costante di tempo CR in microsecondi (predefinito 159.15)\n"
    "  --n N        numero campioni N; i passi sono 10*N (predefinito 100)\n"
    "  --fc MHZ     frequenza di crossover dell'A.O. in MHz (predefinito 3)\n"
    "  --ratio R    rapporto R1/R2 (predefinito 2)\n"
    "  --samples    stampa i campioni come CSV: i,vp,vo per i = 1..10*N\n"
    "  --help       mostra questo aiuto\n"
    "\n"
    "I valori si leggono come nelle caselle della finestra: \".\" e' il separatore\n"
    "decimale, la lettura si ferma al primo carattere non numerico, un testo senza\n"
    "numero vale 0. Senza --samples stampa CR, Fc, N, Ratio, Dt, Aol, K e Peak.\n"
    "Uscita: 0 riuscito, 1 errore di calcolo (messaggio su stderr), 2 uso errato.\n";

struct Options {
    std::string cr = "159.15";
    std::string n = "100";
    std::string fc = "3";
    std::string ratio = "2";
    bool samples = false;
};

std::string shortest17(double value)
{
    std::array<char, 64> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 17);
    return std::string(buffer.data(), result.ptr);
}

int usageError(std::string_view message)
{
    std::fprintf(stderr, "wienbridge-sim: %.*s\n\n%.*s", static_cast<int>(message.size()),
                 message.data(), static_cast<int>(kUsage.size()), kUsage.data());
    return 2;
}

void printSummary(const wienbridge::ModuleState& s)
{
    std::printf("CR=%s\nFc=%s\nN=%d\nRatio=%s\nDt=%s\nAol=%s\nK=%d\nPeak=%s\n",
                shortest17(s.CR).c_str(), shortest17(s.Fc).c_str(), s.N,
                shortest17(s.Ratio).c_str(), shortest17(s.Dt).c_str(), shortest17(s.Aol).c_str(),
                s.K, shortest17(s.Peak).c_str());
}

void printSamples(const wienbridge::ModuleState& s)
{
    std::string out = "i,vp,vo\n";
    const std::size_t last = s.Vo.size() - 2;
    for (std::size_t i = 1; i <= last; ++i) {
        out += std::to_string(i);
        out += ',';
        out += shortest17(s.Vp[i]);
        out += ',';
        out += shortest17(s.Vo[i]);
        out += '\n';
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int main(int argc, char** argv)
{
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
        std::string* target = nullptr;
        if (arg == "--cr")
            target = &options.cr;
        else if (arg == "--n")
            target = &options.n;
        else if (arg == "--fc")
            target = &options.fc;
        else if (arg == "--ratio")
            target = &options.ratio;
        else
            return usageError("opzione sconosciuta: " + std::string(arg));
        if (i + 1 >= argc)
            return usageError("manca il valore di " + std::string(arg));
        *target = argv[++i];
    }

    wienbridge::ModuleState state;
    wienbridge::NoWaveform noWindow;
    try {
        wienbridge::readRatio(state, options.ratio);
        wienbridge::runSequence(state, {options.cr, options.n, options.fc}, noWindow);
    } catch (const wienbridge::RuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (options.samples)
        printSamples(state);
    else
        printSummary(state);
    return 0;
}
