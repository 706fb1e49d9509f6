#include "phonomir/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace phonomir {

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(32, 40, 56));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    const int heights[] = {3, 6, 9, 7, 4};
    const double barWidth = size / 8.0;
    for (int i = 0; i < 5; ++i) {
        const double height = heights[i] * size / 11.0;
        painter.setBrush(QColor(0, 192, 255));
        painter.drawRect(QRectF(size / 8.0 + i * barWidth * 1.25, size * 0.9 - height, barWidth, height));
    }
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace phonomir
