#include "phonomir/ToneTrackbar.h"

#include "phonomir/GeneratorControls.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace phonomir {
namespace {

constexpr int kTickLength = 4, kGap = 2;

}  // namespace

ToneTrackbar::ToneTrackbar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setRange(0, 300);
    setPageStep(15);
    setTickPosition(QSlider::NoTicks);  // the scale is drawn here, at the marks' own positions
}

int ToneTrackbar::tickX(int position) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    return groove.x() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), position, span, option.upsideDown);
}

// The height of a plain horizontal slider, as QSlider's own size hint computes it.
int ToneTrackbar::sliderHeight() const {
    QStyleOptionSlider option;
    QSlider::initStyleOption(&option);
    const int thickness = style()->pixelMetric(QStyle::PM_SliderThickness, &option, this);
    return style()->sizeFromContents(QStyle::CT_Slider, &option, QSize(0, thickness), this).height();
}

void ToneTrackbar::initStyleOption(QStyleOptionSlider* option) const {
    QSlider::initStyleOption(option);
    option->rect.setHeight(sliderHeight());
}

int ToneTrackbar::scaleTop() const { return sliderHeight() + kGap; }

QRect ToneTrackbar::labelRect(int position, const QString& label) const {
    const int width = fontMetrics().horizontalAdvance(label);
    return {tickX(position) - width / 2, scaleTop() + kTickLength + kGap, width, fontMetrics().height()};
}

QSize ToneTrackbar::sizeHint() const {
    return {260, scaleTop() + kTickLength + kGap + fontMetrics().height()};
}

QSize ToneTrackbar::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("10  100  1k  10k")) * 2, sizeHint().height()};
}

void ToneTrackbar::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const ToneScaleMark& mark : toneScaleMarks()) {
        const int x = tickX(mark.position);
        painter.drawLine(x, scaleTop(), x, scaleTop() + kTickLength - 1);
        if (mark.label.empty()) continue;
        const QString label = QString::fromStdString(mark.label);
        painter.drawText(labelRect(mark.position, label), Qt::AlignCenter, label);
    }
}

}  // namespace phonomir
