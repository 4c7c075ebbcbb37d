#include "widget_helpers/locale_format.h"

#include <QLocale>

#include "runtime/number_format.h"

namespace wienbridge {

std::string userDecimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

QString formatForUser(double value, int decimals)
{
    return QString::fromStdString(formatFixedOrScientific(value, decimals, userDecimalSeparator()));
}

}  // namespace wienbridge
