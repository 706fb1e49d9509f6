#include "phonomir/AxisPainter.h"

#include <QPainter>

namespace phonomir {

void AxisPainter::drawFrame(const PlotRect& plot) {
    painter_.fillRect(plot.left - 1, plot.top - 1, plot.width + 2, plot.height + 2, scene_.style.frame);
    painter_.fillRect(plot.left, plot.top, plot.width, plot.height, scene_.style.plotFill);
}

void AxisPainter::drawFrequencyAxis(const PlotRect& plot, int baseline) {
    frequencyTicks(scene_.engine.range(), plot, ticks_);
    painter_.setPen(scene_.style.axisText);
    char text[32];
    for (const AxisTick& tick : ticks_) {
        if (tick.gridLine) verticalLine(tick.position, plot.top, plot.bottom(), scene_.style.grid);
        if (!tick.labelled) continue;
        formatFrequencyLabel(tick.value, text, sizeof text);
        scene_.fonts.drawCentred(painter_, QString::fromLatin1(text), tick.position, baseline);
    }
}

void AxisPainter::drawLevelAxis(const PlotRect& plot, bool labelsOnRight) {
    const DisplayRange& range = scene_.engine.range();
    levelTicks(range.highLevel, range.lowLevel, plot, ticks_);
    painter_.setPen(scene_.style.axisText);
    for (const AxisTick& tick : ticks_) {
        if (tick.gridLine) horizontalLine(tick.position, plot.left, plot.right(), scene_.style.grid);
        const QString text = QString::number(static_cast<int>(tick.value));
        const int baseline = tick.position + scene_.fonts.digitCentreOffset();
        if (labelsOnRight)
            painter_.drawText(plot.right() + 3, baseline, text);
        else
            scene_.fonts.drawRightAligned(painter_, text, plot.left - 2, baseline);
    }
}

void AxisPainter::drawTitles(const PlotRect& plot, bool levelLabelsOnRight) {
    painter_.setPen(scene_.style.axisText);
    scene_.fonts.drawCentred(painter_, scene_.texts.frequency + QStringLiteral(" [Hz]"), plot.left + plot.width / 2,
                             titleBaseline());
    const QString level = scene_.texts.level + QStringLiteral(" [dB]");
    if (levelLabelsOnRight) {
        // Heading the label column, just above its top label, against the window's right edge.
        scene_.fonts.drawRightAligned(painter_, level, scene_.layout.clientWidth - 2, plot.top - scene_.layout.ascent + 1);
    } else {
        scene_.fonts.drawVertical(painter_, level, 1, plot.top + plot.height / 2);
    }
}

void AxisPainter::verticalLine(int x, int top, int bottom, const QColor& colour) {
    painter_.fillRect(x, top, 1, bottom - top, colour);
}

void AxisPainter::horizontalLine(int y, int left, int right, const QColor& colour) {
    painter_.fillRect(left, y, right - left, 1, colour);
}

}  // namespace phonomir
