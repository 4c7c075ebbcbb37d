#include "messages/failure_messages.h"

#include <new>

namespace wienbridge {
namespace {

constexpr const char* kSampleCountRange =
    "Casella N (Numero campioni): inserisci un numero intero da 1 a 214748364.";
constexpr const char* kRatioUnusable =
    "Casella R1/R2: con questo valore il guadagno non si può calcolare; scegline un altro.";

std::string tooLargeToRead(const char* box)
{
    return std::string("Casella ") + box
           + ": il numero è troppo grande per essere letto; inseriscine uno più piccolo.";
}

// Whether the failure is of a value too large or too small follows from what
// failed and how: CR^2 overflows for a large CR and comes out 0 for a small
// one, while (3 - K) / CR overflows only for a small CR.
std::string hintFor(ErrorKind kind, Quantity quantity, const RunInputs& in)
{
    switch (quantity) {
    case Quantity::RatioText:
        return tooLargeToRead("R1/R2");
    case Quantity::TimeConstantText:
        return tooLargeToRead("CR [usec]");
    case Quantity::CrossoverText:
        return tooLargeToRead("fc [MHz]");
    case Quantity::SampleCountText:
    case Quantity::Step:
    case Quantity::SampleCount:
        return kSampleCountRange;
    case Quantity::OpenLoopGain:
        return "Caselle CR [usec] e fc [MHz]: il loro prodotto è troppo grande; riduci uno dei due.";
    case Quantity::StageGain:
        if (kind == ErrorKind::DivisionByZero)
            return "Casella R1/R2: il valore -1 non è ammesso; scegline un altro.";
        return kRatioUnusable;
    case Quantity::GainRounding:
        if (in.Ratio > 0)
            return "Casella R1/R2: il valore è troppo grande; inseriscine uno più piccolo.";
        return kRatioUnusable;
    case Quantity::GainMargin:
        return kRatioUnusable;
    case Quantity::DampingOverCr:
        if (kind == ErrorKind::DivisionByZero)
            return "Casella CR [usec]: inserisci un valore diverso da zero.";
        return "Casella CR [usec]: il valore è troppo piccolo; inseriscine uno più grande.";
    case Quantity::StepOverCrSquared:
        if (kind == ErrorKind::Overflow)
            return "Casella CR [usec]: il valore è troppo grande perché CR² sia rappresentabile; "
                   "inseriscine uno più piccolo.";
        return "Casella CR [usec]: il valore è troppo piccolo perché CR² sia rappresentabile; "
               "inseriscine uno più grande.";
    case Quantity::Growth:
        return "Caselle R1/R2 e N: la curva cresce oltre il più grande numero rappresentabile; riduci R1/R2 "
               "o N.";
    case Quantity::CurveHeight:
        return "Caselle fc [MHz] e R1/R2: con K = 0 tutti i campioni valgono zero; aumenta fc o R1/R2.";
    case Quantity::ReadoutTime:
    case Quantity::ReadoutVoltage:
        return {};
    }
    return {};
}

}  // namespace

std::string FailureMessage::text() const
{
    return hint.empty() ? name : name + '\n' + hint;
}

std::string_view errorName(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Overflow:
        return "Overflow: un valore supera l'intervallo consentito";
    case ErrorKind::DivisionByZero:
        return "Divisione per zero";
    case ErrorKind::SubscriptOutOfRange:
        return "Indice non compreso nell'intervallo";
    case ErrorKind::InvalidOperation:
        return "Operazione a virgola mobile non valida";
    }
    return "Errore di run-time";
}

FailureMessage describeFailure(const RuntimeError& error, const RunInputs& inputs)
{
    return {std::string(errorName(error.kind())), hintFor(error.kind(), error.quantity(), inputs)};
}

FailureMessage describeUnexpectedFailure(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return {"Memoria insufficiente", "Chiudi altri programmi o riduci N (Numero campioni) e riprova."};
    } catch (...) {
        return {"Errore inatteso durante il calcolo",
                "Il calcolo si è interrotto; riprova, e se si ripete annota i valori delle caselle."};
    }
}

FailureMessage plotNotSaved(std::string_view path)
{
    return {"Salvataggio non riuscito", "Impossibile scrivere il file " + std::string(path) + "."};
}

FailureMessage samplesNotExported(std::string_view path)
{
    return {"Esportazione non riuscita", "Impossibile scrivere il file " + std::string(path)};
}

FailureMessage exportCancelled(std::string_view path)
{
    return {"Esportazione annullata", "Nessun file è stato scritto: " + std::string(path)};
}

std::string cannotWrite(std::string_view what)
{
    return "impossibile scrivere " + std::string(what);
}

std::string_view standardOutputName(bool samples)
{
    return samples ? "i campioni sull'uscita standard" : "i risultati sull'uscita standard";
}

}  // namespace wienbridge
