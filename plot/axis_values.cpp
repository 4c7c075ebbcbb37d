#include "plot/axis_values.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>

#include "runtime/number_format.h"

namespace wienbridge {
namespace {

constexpr int kBorder = 2;  // Picture1's sunken border, around the inner area
constexpr int kGap = 4;     // between a value and the border

QString engineering(double value, std::string_view unit, std::string_view separator)
{
    if (value == 0)
        return QStringLiteral("0 ") + QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
    return QString::fromStdString(formatEngineering(value, unit, separator));
}

}  // namespace

AxisValues axisValues(const PlotScale& scale, std::string_view separator)
{
    AxisValues values;
    for (int tick = 0; tick < 5; ++tick)
        values.times[tick] = engineering(scale.seconds(tick * 25), "s", separator);
    const double peak = scale.Peak;
    values.volts = {QStringLiteral("+") + engineering(peak, "V", separator), engineering(0, "V", separator),
                    engineering(-peak, "V", separator)};
    return values;
}

QFont fontToFit(const QString& text, int width, const QFont& font, int smallestPixels)
{
    // A font with no pixel size known (no font database, as on a bare offscreen screen) starts from its
    // height.
    const int known = QFontInfo(font).pixelSize();
    const int largest = known > 0 ? known : QFontMetrics(font).height();
    if (QFontMetrics(font).horizontalAdvance(text) <= width)
        return font;
    QFont smaller = font;
    for (int pixels = largest - 1; pixels >= smallestPixels; --pixels) {
        smaller.setPixelSize(pixels);
        if (QFontMetrics(smaller).horizontalAdvance(text) <= width)
            break;
    }
    return smaller;
}

namespace {

// The same value with one decimal in its mantissa: "+2,106E+21 V" becomes
// "+2,1E+21 V". Values with no exponent are short already.
QString shorterForm(const QString& text)
{
    const qsizetype exponent = text.indexOf(u'E');
    if (exponent < 0)
        return text;
    const qsizetype separator = text.lastIndexOf(QRegularExpression(QStringLiteral("[,.]")), exponent);
    if (separator < 0 || exponent - separator <= 2)
        return text;
    return text.left(separator + 2) + text.mid(exponent);
}

// The form in which `text` fits `width`, in the font it fits in: the whole
// value down to the smallest readable size, then the shorter form, smaller
// still if need be: a value cut at the margin loses its sign.
std::pair<QString, QFont> fitted(const QString& text, int width, const QFont& font)
{
    const QFont whole = fontToFit(text, width, font, kSmallestReadablePixels);
    if (QFontMetrics(whole).horizontalAdvance(text) <= width)
        return {text, whole};
    const QString shorter = shorterForm(text);
    return {shorter, fontToFit(shorter, width, font, 1)};
}

}  // namespace

std::vector<PlacedValue> placeAxisValues(const AxisValues& values, const QRect& plot, const QRect& bounds,
                                         const QFont& font)
{
    std::vector<PlacedValue> placed;
    // Where the user coordinates x and y fall, as on the plot's own pixels.
    const auto xAt = [&](double x) { return plot.left() + x * (plot.width() - 1) / 100; };
    const auto yAt = [&](double y) { return plot.top() + (100 - y) * (plot.height() - 1) / 100; };
    const int below = plot.bottom() + kBorder + kGap;
    for (int tick = 0; tick < 5; ++tick) {
        const auto [text, inFont] = fitted(values.times[tick], bounds.width(), font);
        const QFontMetrics metrics(inFont);
        const int width = metrics.horizontalAdvance(text);
        const int centre = static_cast<int>(std::lround(xAt(25.0 * tick)));
        const int left = std::clamp(centre - width / 2, bounds.left(), bounds.right() + 1 - width);
        placed.push_back({text, QRect(left, below, width, metrics.height()), inFont});
    }
    const double heights[] = {98, 50, 2};
    const int right = plot.left() - kBorder - kGap;
    for (int i = 0; i < 3; ++i) {
        const auto [text, inFont] = fitted(values.volts[i], right - bounds.left(), font);
        const QFontMetrics metrics(inFont);
        const int width = metrics.horizontalAdvance(text);
        const int middle = static_cast<int>(std::lround(yAt(heights[i])));
        placed.push_back(
            {text, QRect(right - width, middle - metrics.height() / 2, width, metrics.height()), inFont});
    }
    return placed;
}

void paintAxisValues(QPainter& painter, const AxisValues& values, const QRect& plot, const QRect& bounds)
{
    const QFont font = painter.font();
    for (const PlacedValue& value : placeAxisValues(values, plot, bounds, font)) {
        painter.setFont(value.font);
        painter.drawText(value.box, Qt::AlignCenter, value.text);
    }
    painter.setFont(font);
}

}  // namespace wienbridge
