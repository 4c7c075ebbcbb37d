#include "runtime_error.h"

#include <utility>

namespace wienbridge {

std::string_view italianMessage(ErrorKind kind) noexcept
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

RuntimeError::RuntimeError(ErrorKind kind, std::string hint)
    : std::runtime_error(std::string(italianMessage(kind))), kind_(kind), hint_(std::move(hint))
{
}

std::string RuntimeError::fullText() const
{
    return hint_.empty() ? std::string(what()) : std::string(what()) + '\n' + hint_;
}

void raise(ErrorKind kind)
{
    throw RuntimeError(kind);
}

}  // namespace wienbridge
