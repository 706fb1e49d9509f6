#include "phonomir/GraphStyle.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

namespace phonomir {
namespace {

QPen solidPen(int r, int g, int b) {
    QPen pen(QColor(r, g, b), 1);
    pen.setCapStyle(Qt::SquareCap);  // keep both end points of every segment
    return pen;
}

// Diagonal stripes two pixels wide in `ink` on white, rising to the right or falling.
QImage stripePattern(QColor ink, bool rising) {
    QImage pattern(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int diagonal = rising ? (x + y) % 4 : (x - y + 8) % 4;
            pattern.setPixel(x, y, diagonal < 2 ? ink.rgb() : qRgb(255, 255, 255));
        }
    return pattern;
}

}  // namespace

GraphStyle::GraphStyle()
    : face(QGuiApplication::palette().color(QPalette::Button)),
      leftCurve(solidPen(0, 128, 255)),
      rightCurve(solidPen(255, 64, 192)),
      leftMarker(solidPen(0, 0, 255)),
      rightMarker(solidPen(255, 0, 0)),
      crossCurve(solidPen(0, 230, 92)),
      leftBar(QColor(0, 192, 255)),
      leftSelectedBar(QColor(0, 0, 255)),
      rightBar(QColor(255, 64, 192)),
      rightSelectedBar(QColor(255, 0, 0)),
      leftPeakHold(stripePattern(QColor(0, 0, 255), true)),
      rightPeakHold(stripePattern(QColor(255, 0, 0), false)) {}

const QBrush& GraphStyle::barBrush(int channel, bool selected) const {
    if (channel == 0) return selected ? leftSelectedBar : leftBar;
    return selected ? rightSelectedBar : rightBar;
}

}  // namespace phonomir
