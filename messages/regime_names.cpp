#include "messages/regime_names.h"

namespace wienbridge {

std::string_view regimeName(Regime regime)
{
    switch (regime) {
    case Regime::Damped:
        return "smorzata";
    case Regime::Sustained:
        return "sostenuta";
    case Regime::Growing:
        return "crescente";
    }
    return "";
}

}  // namespace wienbridge
