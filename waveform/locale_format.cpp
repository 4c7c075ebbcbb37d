#include "locale_format.h"

#include <QLocale>

#include "number_format.h"

namespace wienbridge {

QString formatForUser(double value, int decimals)
{
    const QString separator = QLocale().decimalPoint();
    return QString::fromStdString(formatFixed(value, decimals, separator.toStdString()));
}

}  // namespace wienbridge
