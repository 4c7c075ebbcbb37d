#include "waveform/sweep_plot.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include "messages/sweep_table.h"
#include "plot/colours.h"
#include "runtime/elementary_functions.h"

namespace wienbridge {
namespace {

constexpr double kNoPlace = std::numeric_limits<double>::quiet_NaN();

// How many decades below its top a logarithmic axis shows at most: a real
// circuit far from oscillating dies away by factors no plot could show beside
// the others.
constexpr int kDecadesShown = 8;

// A value axis: where a value falls between its ends, 0 to 1, and the values
// worth a tick and a label.
struct Axis {
    double low = 0.0;
    double high = 1.0;
    bool logarithmic = false;

    bool usable() const { return high > low && std::isfinite(high - low) && (!logarithmic || low > 0); }

    // NaN for a value the axis cannot place: none, not finite, or outside a logarithmic axis.
    double place(std::optional<double> value) const
    {
        if (!value || !std::isfinite(*value))
            return kNoPlace;
        if (!logarithmic)
            return (*value - low) / (high - low);
        if (!(*value >= low * (1 - 1e-9) && *value <= high * (1 + 1e-9)))
            return kNoPlace;
        return (naturalLogarithm(*value) - naturalLogarithm(low))
               / (naturalLogarithm(high) - naturalLogarithm(low));
    }

    // At most about `most` of them.
    std::vector<double> ticks(int most) const
    {
        std::vector<double> marks;
        if (!usable())
            return marks;
        if (!logarithmic) {
            const double step = niceStep((high - low) / std::clamp(most - 1, 1, 5));
            const double first = std::ceil(low / step) * step;
            for (int i = 0; i <= 10 && first + i * step <= high + step / 1000; ++i)
                marks.push_back(std::fabs(first + i * step) < step / 1000 ? 0.0 : first + i * step);
            return marks;
        }
        const auto inside = [&](double mark) {
            return mark >= low * (1 - 1e-12) && mark <= high * (1 + 1e-12);
        };
        // Each decade inside with its exponent, so that thinned ones keep 1 among them.
        std::vector<std::pair<double, int>> decades;
        double decade = 1;
        int exponent = 0;
        for (; decade > low && decade > 1e-300; --exponent)
            decade /= 10;
        for (; decade <= high * (1 + 1e-12); decade *= 10, ++exponent) {
            if (inside(decade))
                decades.emplace_back(decade, exponent);
            for (const double multiple : {2.0, 5.0})
                if (inside(decade * multiple))
                    marks.push_back(decade * multiple);
        }
        if (decades.size() < 2) {  // too few decades to read the axis by: 2 and 5 times them too
            for (const auto& [value, power] : decades)
                marks.push_back(value);
            std::sort(marks.begin(), marks.end());
            return marks;
        }
        marks.clear();
        const int stride = static_cast<int>((decades.size() + std::max(most, 2) - 1) / std::max(most, 2));
        for (const auto& [value, power] : decades)
            if (power % stride == 0)
                marks.push_back(value);
        return marks;
    }

    // 1, 2 or 5 times a power of ten, no smaller than `rough`.
    static double niceStep(double rough)
    {
        if (!(rough > 0) || !std::isfinite(rough))
            return 1;
        double power = 1;
        while (power > rough)
            power /= 10;
        while (power * 10 <= rough)
            power *= 10;
        for (const double multiple : {1.0, 2.0, 5.0})
            if (power * multiple >= rough)
                return power * multiple;
        return power * 10;
    }
};

// The smallest axis that holds every value, its ends on ticks; a logarithmic
// one no deeper than kDecadesShown.
Axis axisFor(const std::vector<double>& values, bool logarithmic)
{
    if (values.empty())
        return logarithmic ? Axis{0.1, 10, true} : Axis{0, 1, false};
    const auto [smallest, largest] = std::minmax_element(values.begin(), values.end());
    if (logarithmic) {
        Axis axis{1, 1, true};
        while (axis.low > *smallest && axis.low > 1e-300)
            axis.low /= 10;
        while (axis.high < *largest && axis.high < 1e300)
            axis.high *= 10;
        while (axis.low * 10 <= *smallest)
            axis.low *= 10;
        while (axis.high / 10 >= *largest)
            axis.high /= 10;
        if (axis.low == axis.high)
            axis = {axis.low / 10, axis.high * 10, true};
        double deepest = axis.high;
        for (int i = 0; i < kDecadesShown; ++i)
            deepest /= 10;
        axis.low = std::max(axis.low, deepest);
        return axis;
    }
    const double low = std::min(*smallest, 0.0);
    const double high = *largest > low ? *largest : low + 1;
    const double step = Axis::niceStep((high - low) / 5);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, false};
}

using Reading = std::function<std::optional<double>(const PointValues&)>;

struct Series {
    Reading read;
    QColor colour;
    Qt::PenStyle style;
};

// Without grouping, which the boxes would read as a decimal point.
QString tickText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 6);
}

}  // namespace

SweepPlot::SweepPlot(QWidget* parent) : QWidget(parent) {}

void SweepPlot::begin(const SweepRange& range)
{
    range_ = range;
    points_.clear();
    update();
}

void SweepPlot::addPoints(const std::vector<SweepPoint>& points)
{
    points_.insert(points_.end(), points.begin(), points.end());
    update();
}

void SweepPlot::paintEvent(QPaintEvent*)
{
    const bool geometric = range_.spacing == Spacing::Geometric;
    Axis swept{std::min(range_.from, range_.to), std::max(range_.from, range_.to), geometric};
    if (swept.low == swept.high)
        swept = geometric ? Axis{swept.low / 2, swept.high * 2, true} : Axis{swept.low - 1, swept.high + 1};
    if (!swept.usable())
        swept = {0, 0, false};  // before the first sweep: no ticks

    const Series frequencies[] = {
        {[](const PointValues& v) { return v.frequency; }, colours::red(), Qt::SolidLine},
        {[](const PointValues& v) { return v.circuitFrequency; }, colours::blue(), Qt::SolidLine},
        {[](const PointValues& v) { return std::optional(v.naturalFrequency); }, colours::black(),
         Qt::DashLine},
    };
    const Series factors[] = {
        {[](const PointValues& v) { return v.factorPerPeriod; }, colours::red(), Qt::SolidLine},
        {[](const PointValues& v) { return v.circuitFactorPerPeriod; }, colours::blue(), Qt::SolidLine},
    };
    const auto valuesOf = [&](const auto& series, bool logarithmic) {
        std::vector<double> values;
        for (const SweepPoint& point : points_)
            for (const Series& s : series)
                if (const std::optional<double> value = point.values ? s.read(*point.values) : std::nullopt;
                    value && std::isfinite(*value) && (!logarithmic || *value > 0))
                    values.push_back(*value);
        return values;
    };
    const Axis frequencyAxis = axisFor(valuesOf(frequencies, false), false);
    std::vector<double> factorValues = valuesOf(factors, true);
    factorValues.push_back(1);  // the sustained oscillation, always in sight
    const Axis factorAxis = axisFor(factorValues, true);

    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    const int panelHeight = std::max((height() - 4 * line - 20) / 2, 10);
    int labelWidth = 0;
    const auto valueTicks = [&](const Axis& axis, int pixels) { return axis.ticks(pixels / (2 * line)); };
    const auto sweptTicks = [&](int pixels) {
        return swept.ticks(pixels / (metrics.horizontalAdvance(tickText(swept.high)) + 3 * line));
    };
    for (const Axis& axis : {frequencyAxis, factorAxis})
        for (const double tick : valueTicks(axis, panelHeight))
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tickText(tick)));
    const int left = labelWidth + 10;
    const int right = 16 + metrics.horizontalAdvance(tickText(swept.high)) / 2;
    const QRect upper(left, line + 6, std::max(width() - left - right, 10), panelHeight);
    const QRect lower(left, upper.bottom() + line + 8, upper.width(), panelHeight);

    const auto xOf = [&](const QRect& r, double place) { return r.left() + place * (r.width() - 1); };
    const auto yOf = [&](const QRect& r, double place) { return r.bottom() - place * (r.height() - 1); };

    const auto frame = [&](const QRect& r, const Axis& axis, const QString& title) {
        painter.fillRect(r, colours::plotBackground());
        painter.setPen(colours::black());
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.drawText(r.left(), r.top() - 4, title);
        for (const double tick : valueTicks(axis, r.height())) {
            const int y = qRound(yOf(r, axis.place(tick)));
            painter.drawLine(r.left(), y, r.left() + 4, y);
            painter.drawText(QRect(0, y - line / 2, r.left() - 6, line), Qt::AlignRight | Qt::AlignVCenter,
                             tickText(tick));
        }
        for (const double tick : sweptTicks(r.width())) {
            const int x = qRound(xOf(r, swept.place(tick)));
            painter.drawLine(x, r.bottom(), x, r.bottom() - 4);
        }
    };
    frame(upper, frequencyAxis, QStringLiteral("Frequenza [Hz]"));
    frame(lower, factorAxis, QStringLiteral("Fattore di ampiezza per periodo"));
    for (const double tick : sweptTicks(lower.width())) {
        const int x = qRound(xOf(lower, swept.place(tick)));
        painter.drawText(QRect(x - 60, lower.bottom() + 2, 120, line), Qt::AlignHCenter, tickText(tick));
    }
    if (range_.count > 0)
        painter.drawText(QRect(lower.left(), lower.bottom() + 2 + line, lower.width(), line),
                         Qt::AlignHCenter, QString::fromUtf8(sweptBoxName(range_.input).data()));

    // Where K changes, halfway between the two points; each stretch of one K
    // labelled where it fits, from the sweep's first end to its last.
    QPen dotted(colours::black(), 1, Qt::DotLine);
    const auto label = [&](double from, double to, std::int32_t k) {
        const QString text = QStringLiteral("K = %1").arg(k);
        if (std::fabs(to - from) > metrics.horizontalAdvance(text) + 4) {
            painter.setPen(colours::black());
            painter.drawText(QRectF(std::min(from, to), upper.top() + 2, std::fabs(to - from), line),
                             Qt::AlignHCenter, text);
        }
    };
    double stretchStart = xOf(upper, swept.place(range_.from));
    const SweepPoint* previous = nullptr;
    for (const SweepPoint& point : points_) {
        if (!point.values)
            continue;
        if (previous && previous->values->K != point.values->K) {
            const double middle = (swept.place(previous->value) + swept.place(point.value)) / 2;
            painter.setPen(dotted);
            for (const QRect& r : {upper, lower})
                painter.drawLine(QPointF(xOf(r, middle), r.top() + 1),
                                 QPointF(xOf(r, middle), r.bottom() - 1));
            label(stretchStart, xOf(upper, middle), previous->values->K);
            stretchStart = xOf(upper, middle);
        }
        previous = &point;
    }
    if (previous)
        label(stretchStart, xOf(upper, swept.place(previous->value)), previous->values->K);

    painter.setRenderHint(QPainter::Antialiasing);
    const auto draw = [&](const QRect& r, const Axis& axis, const Series& series) {
        painter.save();
        painter.setClipRect(r);
        QPolygonF stretch;
        const auto flush = [&] {
            painter.setPen(QPen(series.colour, 1.5, series.style));
            painter.drawPolyline(stretch);
            stretch.clear();
        };
        for (const SweepPoint& point : points_) {
            const double y = point.values ? axis.place(series.read(*point.values)) : kNoPlace;
            if (std::isnan(y)) {
                flush();
                continue;
            }
            const QPointF at(xOf(r, swept.place(point.value)), yOf(r, y));
            stretch << at;
            if (series.style == Qt::SolidLine) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(series.colour);
                painter.drawEllipse(at, 2, 2);
            }
        }
        flush();
        painter.restore();
    };
    for (const Series& series : frequencies)
        draw(upper, frequencyAxis, series);
    const int one = qRound(yOf(lower, factorAxis.place(1.0)));
    painter.setPen(dotted);
    painter.drawLine(lower.left() + 1, one, lower.right() - 1, one);
    for (const Series& series : factors)
        draw(lower, factorAxis, series);

    // The legend, at the right of the upper title.
    const std::pair<QString, const Series*> legend[] = {{QStringLiteral("sui campioni"), &frequencies[0]},
                                                        {QStringLiteral("con A.O. reale"), &frequencies[1]},
                                                        {QStringLiteral("f0"), &frequencies[2]}};
    int x = upper.right();
    for (auto it = std::rbegin(legend); it != std::rend(legend); ++it) {
        const int textWidth = metrics.horizontalAdvance(it->first);
        x -= textWidth;
        painter.setPen(colours::black());
        painter.drawText(x, upper.top() - 4, it->first);
        x -= 24;
        painter.setPen(QPen(it->second->colour, 1.5, it->second->style));
        painter.drawLine(x, upper.top() - 4 - line / 3, x + 18, upper.top() - 4 - line / 3);
        x -= 12;
    }
}

}  // namespace wienbridge
