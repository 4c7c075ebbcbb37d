#include <gtest/gtest.h>

#include "run/run_sequence.h"

using namespace wienbridge;

namespace {

// Computes where it is asked and writes down what the run asks of it, in order.
// Like a front end that draws, it cannot show a curve whose samples are all 0.
class RecordingFrontEnd final : public RunFrontEnd {
public:
    std::string steps;
    std::string failure;
    std::shared_ptr<SampleObserver> extra;

private:
    void note(const char* step) { steps += steps.empty() ? step : std::string(" ") + step; }
    void wipe() override { note("wipe"); }
    void show() override { note("show"); }
    void prepareAxes() override { note("axes"); }
    std::shared_ptr<SampleObserver> observer(const RunInputs&) override { return extra; }
    void compute(Computation computation, std::function<void(ComputationOutcome)> done) override
    {
        note("compute");
        done(computeNow(computation));
    }
    void finished(std::shared_ptr<const FinishedRun> run) override
    {
        if (run->result.Peak == 0)
            raise(ErrorKind::InvalidOperation, Quantity::CurveHeight);
        note("finished");
    }
    void failed(const FailureMessage& message) override
    {
        note("failed");
        failure = message.text();
    }
};

}  // namespace

// The rows of the README's table of errors: the error's name, then the box to
// change and which way.
TEST(RunSequence, ReadsTheBoxesInOrderAndSaysWhatToChange)
{
    const char* const overflow = "Overflow: un valore supera l'intervallo consentito";
    const char* const byZero = "Divisione per zero";
    const char* const n = "Casella N (Numero campioni)";
    const char* const range = "inserisci un numero intero da 1 a 214748364.";
    const char* const cr = "Casella CR [usec]";
    const char* const smaller = "inseriscine uno più piccolo.";
    const char* const larger = "inseriscine uno più grande.";
    const char* const afterAxes = "wipe show axes compute failed";
    const struct {
        const char *cr, *n, *fc, *ratio;
        const char* steps;
        const char *name, *box, *advice;
    } runs[] = {
        {"159.15", "0", "3", "1e999", "wipe failed", overflow, "Casella R1/R2",
         "troppo grande per essere letto"},
        {"1e999", "1e999", "1e999", "2", "wipe show axes failed", overflow, cr,
         "troppo grande per essere letto"},
        {"159.15", "1e999", "1e999", "2", "wipe show axes failed", overflow, "Casella fc [MHz]", smaller},
        {"159.15", "1e10", "3", "2", "wipe show axes failed", overflow, n, range},
        {"159.15", "0", "3", "2", afterAxes, byZero, n, range},
        {"159.15", "-1", "3", "2", afterAxes, "Indice non compreso nell'intervallo", n, range},
        {"159.15", "214748365", "3", "2", afterAxes, overflow, n, range},
        {"0", "100", "3", "2", afterAxes, byZero, cr, "inserisci un valore diverso da zero."},
        {"1e-160", "100", "3", "2", afterAxes, byZero, cr, "troppo piccolo perché CR² sia rappresentabile"},
        {"1e-310", "100", "3", "2", afterAxes, overflow, cr, larger},
        {"1e300", "100", "3", "2", afterAxes, overflow, cr, "troppo grande perché CR² sia rappresentabile"},
        {"1e200", "100", "1e200", "2", afterAxes, overflow, "Caselle CR [usec] e fc [MHz]",
         "riduci uno dei due."},
        {"159.15", "100", "3", "-1", afterAxes, byZero, "Casella R1/R2",
         "il valore -1 non è ammesso; scegline un altro."},
        {"159.15", "100", "1e7", "1e300", afterAxes, overflow, "Casella R1/R2", smaller},
        {"159.15", "1", "1e30", "-2147483646", afterAxes, overflow, "Casella R1/R2", "scegline un altro."},
        {"159.15", "100", "3", "1000", afterAxes, overflow, "Caselle R1/R2 e N", "riduci R1/R2 o N."},
        {"3.3", "100", "0,01", "2", afterAxes, "Operazione a virgola mobile non valida",
         "Caselle fc [MHz] e R1/R2", "aumenta fc o R1/R2."},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(::testing::Message()
                     << run.cr << " | " << run.n << " | " << run.fc << " | " << run.ratio);
        RecordingFrontEnd front;
        startRun({run.cr, run.n, run.fc, run.ratio}, front);
        const std::string& lines = front.failure;
        const std::size_t newline = lines.find('\n');
        EXPECT_EQ(front.steps, run.steps);
        EXPECT_EQ(lines.substr(0, newline), run.name);
        EXPECT_TRUE(lines.substr(newline + 1).starts_with(run.box)) << lines;
        EXPECT_NE(lines.find(run.advice, newline), std::string::npos) << lines;
    }
    RecordingFrontEnd finishing;
    startRun({"159.15", "100", "3", "2"}, finishing);
    EXPECT_EQ(finishing.steps, "wipe show axes compute finished");
}

// Memory that runs out, or any other fault of a computation, ends the run as a
// failure the user is told of, like any other.
TEST(RunSequence, WhateverAComputationThrowsIsReported)
{
    struct Throwing final : SampleObserver {
        void observe(std::int64_t, std::span<const double>, std::span<const double>) override
        {
            throw std::bad_alloc();
        }
    };
    RecordingFrontEnd front;
    front.extra = std::make_shared<Throwing>();
    startRun({"159.15", "100", "3", "2"}, front);
    EXPECT_EQ(front.steps, "wipe show axes compute failed");
    EXPECT_TRUE(front.failure.starts_with("Memoria insufficiente\n")) << front.failure;
}
