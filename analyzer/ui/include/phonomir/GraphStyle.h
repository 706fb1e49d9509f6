// The analyzer graph's colours, pens and brushes, built once per graph window. The two
// peak-hold brushes are 8 x 8 patterns made here.
//
// Owned by GraphRenderer; used on the UI thread.
#pragma once

#include <QBrush>
#include <QColor>
#include <QPen>

namespace phonomir {

class GraphStyle {
public:
    GraphStyle();

    const QPen& curvePen(int channel) const { return channel == 0 ? leftCurve : rightCurve; }
    const QPen& markerPen(int channel) const { return channel == 0 ? leftMarker : rightMarker; }
    const QBrush& barBrush(int channel, bool selected) const;
    const QBrush& peakHoldBrush(int channel) const { return channel == 0 ? leftPeakHold : rightPeakHold; }

    QColor face;          // the window outside the plot: the button-face colour
    QColor plotFill{255, 255, 255};
    QColor frame{0, 0, 0};
    QColor axisText{64, 64, 64};
    QColor grid{128, 128, 128};
    QColor correlationGrid{192, 192, 192};
    QColor zeroLine{0, 0, 0};
    QPen leftCurve, rightCurve, leftMarker, rightMarker, crossCurve;
    QBrush leftBar, leftSelectedBar, rightBar, rightSelectedBar, leftPeakHold, rightPeakHold;
};

}  // namespace phonomir
