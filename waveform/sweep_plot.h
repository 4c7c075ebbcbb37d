#pragma once

#include <vector>

#include <QWidget>

#include "simulation/sweep.h"

namespace wienbridge {

// The two plots of "Andamento", one above the other over the swept axis
// (logarithmic for a geometric sweep): the frequency measured on the samples,
// the real circuit's and f0; the amplitude factor per period measured and
// the real circuit's, on a logarithmic axis. Dotted lines mark where K
// changes, a point without a value leaves a gap. Drawn from the points the
// widget keeps.
class SweepPlot : public QWidget {
    Q_OBJECT

public:
    explicit SweepPlot(QWidget* parent = nullptr);

    // A sweep over `range` begins: its points so far go, the swept axis spans the range.
    void begin(const SweepRange& range);
    // The sweep's next points, in order.
    void addPoints(const std::vector<SweepPoint>& points);

    QSize sizeHint() const override { return {560, 340}; }
    QSize minimumSizeHint() const override { return {320, 220}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SweepRange range_;
    std::vector<SweepPoint> points_;
};

}  // namespace wienbridge
