#include "phonomir/WaterfallPainter.h"

#include "phonomir/AxisPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace phonomir {

void WaterfallPainter::prepare(const GraphScene& scene) {
    horizon_.reserve(scene.layout.data.width);
}

void WaterfallPainter::drawBackground(QPainter& painter, const GraphScene& scene) {
    const PlotRect& plot = scene.layout.plot;
    AxisPainter axes(painter, scene);
    axes.drawFrame(plot);
    axes.drawFrequencyAxis(plot, plot.bottom() + 2 + scene.layout.ascent);
    axes.drawLevelAxis(plot, true);
    axes.drawTitles(plot, true);
    drawTimeAxis(painter, scene);
}

// From the front plot's lower left corner back along the lines' shift, a tick at each line;
// along it, left of the ticks, the time from the front line to every few lines (as many as fit
// one above the other), and the history length above its far end.
void WaterfallPainter::drawTimeAxis(QPainter& painter, const GraphScene& scene) {
    const GraphLayout& layout = scene.layout;
    const int n = layout.waterfallLines, dx = layout.waterfallDx, dy = layout.waterfallDy;
    const QPoint front(layout.plot.left - 1, layout.plot.bottom());
    const QPoint back(front.x() - n * dx, front.y() - n * dy);
    painter.setPen(QPen(scene.style.frame, 1));
    painter.drawLine(front, back);
    for (int k = 1; k <= n; ++k) painter.drawLine(front.x() - k * dx - 2, front.y() - k * dy, front.x() - k * dx, front.y() - k * dy);
    painter.setPen(scene.style.axisText);
    const int every = std::max(1, (3 * layout.ascent + dy - 1) / std::max(dy, 1));  // lines between two labels
    const double lineSeconds = static_cast<double>(scene.engine.fftSize()) / scene.engine.rate();
    const bool inSeconds = n * lineSeconds >= 1.0;
    char label[32];
    for (int k = every; k <= n - (every + 1) / 2; k += every) {
        const double seconds = k * lineSeconds;
        if (inSeconds)
            std::snprintf(label, sizeof label, "%.3fs", seconds);
        else
            std::snprintf(label, sizeof label, "%.1fms", seconds * 1000.0);
        const QString text = QString::fromLatin1(label);
        const int right = front.x() - k * dx - 4;
        if (right - scene.fonts.textWidth(text) < 0) continue;
        scene.fonts.drawRightAligned(painter, text, right, front.y() - k * dy + scene.fonts.digitCentreOffset());
    }
    scene.engine.waterfallTimeLabel(label, sizeof label);
    painter.drawText(2, back.y() - 3, QString::fromLatin1(label));
}

void WaterfallPainter::drawData(QPainter&, PixelCanvas& pixels, const GraphScene& scene) {
    for (int c = 0; c < scene.channels(); ++c) drawChannel(pixels, scene, c);
}

// Each channel is its own oblique view: the horizon starts at the plot's bottom and the lines
// are drawn front to back, so the left channel's lines never hide the right channel's.
void WaterfallPainter::drawChannel(PixelCanvas& pixels, const GraphScene& scene, int channel) {
    const GraphLayout& layout = scene.layout;
    const WaterfallRing& ring = scene.engine.waterfall();
    const bool backward = scene.settings.waterfallDirection != 0;
    horizon_.reset(layout.data.left, layout.data.width, static_cast<float>(layout.plot.bottom()));
    const std::uint32_t colour = scene.style.curvePen(channel).color().rgb();
    for (int depth = 0; depth < ring.lineCount(); ++depth) {
        const int age = waterfallAgeAtDepth(depth, ring.lineCount(), ring.filled(), backward);
        ColumnTrace trace(pixels, colour);
        if (age >= 0) drawLine(trace, scene, ring.line(age, channel), depth);
    }
}

void WaterfallPainter::drawLine(ColumnTrace& trace, const GraphScene& scene, std::span<const float> line, int depth) {
    const GraphLayout& layout = scene.layout;
    const int left = layout.plot.left - depth * layout.waterfallDx;
    // Rows far above the window are all the same: off the image.
    const float top = static_cast<float>(layout.plot.top - depth * layout.waterfallDy), highest = -1.0f;
    int previousOwner = depth;
    for (std::size_t column = 0; column < line.size(); ++column) {
        const int x = left + static_cast<int>(column);
        const HorizonPoint point = horizon_.hide(x, top + line[column], depth);
        const int row = static_cast<int>(std::floor(std::max(point.row, highest)));
        // Both ends hidden on the horizon where one line behind set it: that line drew this step.
        if (point.owner != depth && point.owner == previousOwner)
            trace.skipTo(x, row);
        else
            trace.add(x, row);
        previousOwner = point.owner;
    }
}

}  // namespace phonomir
