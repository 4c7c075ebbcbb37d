#include "parameters/design_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace wienbridge {

namespace {
const QString kDesignFamily = QStringLiteral("MS Sans Serif");
// What Windows itself draws "MS Sans Serif" text in when it is to be scaled or made bold.
const QString kOutlineFamily = QStringLiteral("Microsoft Sans Serif");
}  // namespace

QFont designFont()
{
    // Where "MS Sans Serif" is installed (Windows, Wine) it is a bitmap font: no bold, and no
    // 8.25-point size, so Qt would draw every caption in a regular weight and a size too large.
    const bool bitmapOnly =
        QFontDatabase::hasFamily(kDesignFamily) && !QFontDatabase::isSmoothlyScalable(kDesignFamily);
    QFont font(bitmapOnly ? kOutlineFamily : kDesignFamily);
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

void installDesignFontSubstitutes()
{
    // In order of preference; the first one installed is used.
    const QStringList standIns = {
        QStringLiteral("Liberation Sans Narrow"),
        QStringLiteral("Arial Narrow"),
        QStringLiteral("DejaVu Sans Condensed"),
        QStringLiteral("Liberation Sans"),
    };
    QFont::removeSubstitutions(kDesignFamily);
    QFont::insertSubstitutions(kDesignFamily, standIns);
    // Wine has the bitmap font but not its outline twin; its Tahoma is the nearest, and Wine
    // draws no bold Liberation Sans Narrow.
    QFont::removeSubstitutions(kOutlineFamily);
    QFont::insertSubstitutions(kOutlineFamily, QStringList{QStringLiteral("Tahoma")} + standIns);
}

}  // namespace wienbridge
