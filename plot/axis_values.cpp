#include "plot/axis_values.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>

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

AxisValues axisValues(const FinishedRun& run, std::string_view separator)
{
    AxisValues values;
    for (int tick = 0; tick < 5; ++tick)
        values.times[tick] = engineering(tick * 25 * run.inputs.CR, "s", separator);
    const double peak = run.result.Peak;
    values.volts = {QStringLiteral("+") + engineering(peak, "V", separator), engineering(0, "V", separator),
                    engineering(-peak, "V", separator)};
    return values;
}

void paintAxisValues(QPainter& painter, const AxisValues& values, const QRect& plot, const QRect& bounds)
{
    const QFontMetrics metrics = painter.fontMetrics();
    // Where the user coordinates x and y fall, as on the plot's own pixels.
    const auto xAt = [&](double x) { return plot.left() + x * (plot.width() - 1) / 100; };
    const auto yAt = [&](double y) { return plot.top() + (100 - y) * (plot.height() - 1) / 100; };
    const int below = plot.bottom() + kBorder + kGap;
    for (int tick = 0; tick < 5; ++tick) {
        const int width = metrics.horizontalAdvance(values.times[tick]);
        const int centre = static_cast<int>(std::lround(xAt(25.0 * tick)));
        const int left = std::clamp(centre - width / 2, bounds.left(), bounds.right() - width);
        painter.drawText(QRect(left, below, width, metrics.height()), Qt::AlignCenter, values.times[tick]);
    }
    const double heights[] = {98, 50, 2};
    const int right = plot.left() - kBorder - kGap;
    for (int i = 0; i < 3; ++i) {
        const int middle = static_cast<int>(std::lround(yAt(heights[i])));
        const QRect box(bounds.left(), middle - metrics.height() / 2, right - bounds.left(),
                        metrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, values.volts[i]);
    }
}

}  // namespace wienbridge
