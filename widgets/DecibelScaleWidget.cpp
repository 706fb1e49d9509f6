#include "phonomir/DecibelScaleWidget.h"

#include <QPainter>

namespace phonomir {

DecibelScaleWidget::DecibelScaleWidget(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(4 + fontMetrics().height());
}

int DecibelScaleWidget::sideMargin(const QFontMetrics& metrics) {
    return metrics.horizontalAdvance(QStringLiteral("-80")) / 2 + 1;
}

void DecibelScaleWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int margin = sideMargin(fontMetrics());
    const int scaleWidth = width() - 2 * margin;
    for (int k = 0; k <= 8; ++k) {
        const int x = margin + tickX(k, scaleWidth);
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(x, 0, x, 3);
        painter.setPen(palette().color(QPalette::WindowText));
        const QString label = QString::number(-80 + 10 * k);
        const int labelWidth = fontMetrics().horizontalAdvance(label);
        painter.drawText(x - labelWidth / 2, 4 + fontMetrics().ascent(), label);
    }
}

}  // namespace phonomir
