#pragma once

#include <string>

#include <QString>

namespace wienbridge {

// The decimal separator of the user's locale (QLocale's default): a comma in
// an Italian locale, a point in the C locale.
std::string userDecimalSeparator();

// formatFixedOrScientific with the user's decimal separator: "0,75", and
// "1,83E+21" for a number with more digits before the point than a double holds.
QString formatForUser(double value, int decimals);

}  // namespace wienbridge
