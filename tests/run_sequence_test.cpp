#include <gtest/gtest.h>

#include "plot_image.h"
#include "run_sequence.h"

using namespace wienbridge;

namespace {

// Computes where it is asked and writes down what the run asks of it, in order.
class RecordingFrontEnd final : public RunFrontEnd {
public:
    explicit RecordingFrontEnd(bool drawn) : drawn_(drawn) {}

    std::string steps;
    std::string failure;

private:
    void note(const char* step) { steps += steps.empty() ? step : std::string(" ") + step; }
    void wipe() override { note("wipe"); }
    void show() override { note("show"); }
    PlotImage* plot() override { return drawn_ ? &plot_ : nullptr; }
    void plotChanged() override { note("drawn"); }
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
    {
        note("compute");
        done(computeNow(computation));
    }
    void finished(std::shared_ptr<const FinishedRun>) override { note("finished"); }
    void failed(const FailureMessage& message) override
    {
        note("failed");
        failure = message.text();
    }

    bool drawn_;
    PlotImage plot_;
};

}  // namespace

// The rows of the README's table of errors, each with the two lines the user reads.
TEST(RunSequence, ReadsTheBoxesInOrderAndSaysWhatToChange)
{
    const std::string n = "Casella N (Numero campioni): inserisci un numero intero da 1 a 214748364.";
    const std::string overflow = "Overflow: un valore supera l'intervallo consentito\n";
    const std::string byZero = "Divisione per zero\n";
    const std::string ratioUnusable =
        "Casella R1/R2: con questo valore il guadagno non si può calcolare; scegline un altro.";
    const char* const afterAxes = "wipe show drawn compute failed";
    const struct {
        const char *cr, *n, *fc, *ratio;
        const char* steps;
        std::string lines;
    } runs[] = {
        {"159.15", "0", "3", "1e999", "wipe failed",
         overflow
             + "Casella R1/R2: il numero è troppo grande per essere letto; inseriscine uno più piccolo."},
        {"1e999", "1e999", "1e999", "2", "wipe show drawn failed",
         overflow
             + "Casella CR [usec]: il numero è troppo grande per essere letto; inseriscine uno più piccolo."},
        {"159.15", "1e999", "1e999", "2", "wipe show drawn failed",
         overflow
             + "Casella fc [MHz]: il numero è troppo grande per essere letto; inseriscine uno più piccolo."},
        {"159.15", "1e10", "3", "2", "wipe show drawn failed", overflow + n},
        {"159.15", "0", "3", "2", afterAxes, byZero + n},
        {"159.15", "", "3", "2", afterAxes, byZero + n},
        {"159.15", "-1", "3", "2", afterAxes, "Indice non compreso nell'intervallo\n" + n},
        {"159.15", "214748365", "3", "2", afterAxes, overflow + n},
        {"0", "100", "3", "2", afterAxes, byZero + "Casella CR [usec]: inserisci un valore diverso da zero."},
        {"1e-160", "100", "3", "2", afterAxes,
         byZero
             + "Casella CR [usec]: il valore è troppo piccolo perché CR² sia rappresentabile; "
               "inseriscine uno più grande."},
        {"1e-310", "100", "3", "2", afterAxes,
         overflow + "Casella CR [usec]: il valore è troppo piccolo; inseriscine uno più grande."},
        {"1e300", "100", "3", "2", afterAxes,
         overflow
             + "Casella CR [usec]: il valore è troppo grande perché CR² sia rappresentabile; "
               "inseriscine uno più piccolo."},
        {"1e200", "100", "1e200", "2", afterAxes,
         overflow + "Caselle CR [usec] e fc [MHz]: il loro prodotto è troppo grande; riduci uno dei due."},
        {"159.15", "100", "3", "-1", afterAxes,
         byZero + "Casella R1/R2: il valore -1 non è ammesso; scegline un altro."},
        {"159.15", "100", "1e7", "1e300", afterAxes,
         overflow + "Casella R1/R2: il valore è troppo grande; inseriscine uno più piccolo."},
        {"159.15", "1", "1e30", "-2147483646", afterAxes, overflow + ratioUnusable},
        {"159.15", "100", "3", "1000", afterAxes,
         overflow
             + "Caselle R1/R2 e N: la curva cresce oltre il più grande numero rappresentabile; "
               "riduci R1/R2 o N."},
        {"3.3", "100", "0,01", "2", "wipe show drawn compute drawn failed",
         "Operazione a virgola mobile non valida\n"
         "Caselle fc [MHz] e R1/R2: con K = 0 tutti i campioni valgono zero; aumenta fc o R1/R2."},
        {"159.15", "100", "3", "2", "wipe show drawn compute drawn finished", ""},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(::testing::Message()
                     << run.cr << " | " << run.n << " | " << run.fc << " | " << run.ratio);
        RecordingFrontEnd front(true);
        startRun({run.cr, run.n, run.fc, run.ratio}, front);
        EXPECT_EQ(front.steps, run.steps);
        EXPECT_EQ(front.failure, run.lines);
    }
}
