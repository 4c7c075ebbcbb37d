#pragma once

#include <QString>

namespace wienbridge {

// formatFixed with the decimal separator of the user's locale (QLocale's
// default): a comma in an Italian locale, a point in the C locale.
QString formatForUser(double value, int decimals);

}  // namespace wienbridge
