#include "design_font.h"

#include <QStringList>

namespace wienbridge {

namespace {
const QString kDesignFamily = QStringLiteral("MS Sans Serif");
}

QFont designFont()
{
    QFont font(kDesignFamily);
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

void installDesignFontSubstitutes()
{
    // In order of preference; the first one installed is used.
    QFont::removeSubstitutions(kDesignFamily);
    QFont::insertSubstitutions(kDesignFamily, {
                                                  QStringLiteral("Liberation Sans Narrow"),
                                                  QStringLiteral("Arial Narrow"),
                                                  QStringLiteral("DejaVu Sans Condensed"),
                                                  QStringLiteral("Liberation Sans"),
                                              });
}

}  // namespace wienbridge
