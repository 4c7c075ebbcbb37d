#include "failure_hints.h"

#include <cstdint>
#include <limits>

namespace wienbridge {
namespace {

constexpr const char* kSampleCountRange =
    "Casella N (Numero campioni): inserisci un numero intero da 1 a 214748364.";
constexpr const char* kRatioOther =
    "Casella R1/R2: con questo valore il guadagno non si può calcolare; scegline un altro.";

const char* tooLargeToRead(RunStage stage)
{
    switch (stage) {
    case RunStage::ReadingRatio:
        return "Casella R1/R2: il numero è troppo grande per essere letto; inseriscine uno più piccolo.";
    case RunStage::ReadingTimeConstant:
        return "Casella CR [usec]: il numero è troppo grande per essere letto; inseriscine uno più piccolo.";
    case RunStage::ReadingCrossover:
        return "Casella fc [MHz]: il numero è troppo grande per essere letto; inseriscine uno più piccolo.";
    default:
        return kSampleCountRange;
    }
}

const char* hintFor(RunStage stage, ErrorKind kind, const RunInputs& in, const RunResult& sofar)
{
    switch (stage) {
    case RunStage::ReadingRatio:
    case RunStage::ReadingTimeConstant:
    case RunStage::ReadingCrossover:
    case RunStage::ReadingSampleCount:
        return tooLargeToRead(stage);
    case RunStage::Step:
        if (in.N == 0)
            return kSampleCountRange;
        return "Casella CR [usec]: il valore è troppo grande per questo N; inseriscine uno più piccolo.";
    case RunStage::SampleCount:
        return kSampleCountRange;
    case RunStage::OpenLoopGain:
        return "Caselle CR [usec] e fc [MHz]: il loro prodotto è troppo grande; riduci uno dei due.";
    case RunStage::StageGain:
        if (in.Ratio == -1.0)
            return "Casella R1/R2: il valore -1 non è ammesso; scegline un altro.";
        if (kind == ErrorKind::Overflow)
            return "Casella R1/R2: il valore è troppo grande; inseriscine uno più piccolo.";
        return kRatioOther;
    case RunStage::Coefficients:
        if (sofar.K < std::numeric_limits<std::int32_t>::min() + 3)
            return kRatioOther;
        if (in.CR == 0.0)
            return "Casella CR [usec]: inserisci un valore diverso da zero.";
        return "Casella CR [usec]: il valore è troppo piccolo perché CR² sia rappresentabile; "
               "inseriscine uno più grande.";
    case RunStage::Integration:
        return "Caselle R1/R2 e N: la curva cresce oltre il più grande numero rappresentabile; "
               "riduci R1/R2 o N.";
    case RunStage::Curve:
        if (sofar.K == 0)
            return "Caselle fc [MHz] e R1/R2: con K = 0 tutti i campioni valgono zero; aumenta fc o R1/R2.";
        return "";
    }
    return "";
}

}  // namespace

RuntimeError withHint(const RuntimeError& error, RunStage stage, const RunInputs& inputs,
                      const RunResult& sofar)
{
    return RuntimeError(error.kind(), hintFor(stage, error.kind(), inputs, sofar));
}

}  // namespace wienbridge
