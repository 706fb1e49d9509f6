#include "phonomir/LevelMeterWidget.h"

#include <QPainter>

namespace phonomir {

namespace {
const QColor kLevelColour(0, 192, 255);
const QColor kRestColour(128, 128, 128);
}  // namespace

LevelMeterWidget::LevelMeterWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 12);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LevelMeterWidget::showBuffer(const WaveBuffer& buffer, const WaveFormat& format) {
    model_.setSize(width(), height());  // a hidden widget gets its resize event only when shown
    for (const MeterStrip& strip : model_.showBuffer(buffer.data, buffer.bufferLength, format)) {
        update(QRect(QPoint(strip.left, strip.top), QPoint(strip.right - 1, strip.bottom - 1)));
    }
}

void LevelMeterWidget::clear() {
    model_.clear();
    update();
}

void LevelMeterWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    model_.setSize(width(), height());
}

void LevelMeterWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int channels = model_.twoChannels() ? 2 : 1;
    for (int channel = 0; channel < channels; ++channel) {
        const MeterStrip area = model_.barArea(channel);
        const int length = model_.barLength(channel);
        painter.fillRect(QRect(0, area.top, length, area.bottom - area.top), kLevelColour);
        painter.fillRect(QRect(length, area.top, width() - length, area.bottom - area.top), kRestColour);
    }
}

}  // namespace phonomir
