#include "phonomir/SpectrumPainter.h"

#include "phonomir/AxisPainter.h"

#include <QPainter>

namespace phonomir {

void SpectrumPainter::prepare(const GraphScene& scene) {
    curve_.reserve(2 * static_cast<std::size_t>(scene.layout.plot.width) + 4);
}

void SpectrumPainter::drawBackground(QPainter& painter, const GraphScene& scene) {
    const PlotRect& plot = scene.layout.plot;
    AxisPainter axes(painter, scene);
    axes.drawFrame(plot);
    axes.drawFrequencyAxis(plot, plot.bottom() + 2 + scene.layout.ascent);
    axes.drawLevelAxis(plot);
    axes.drawTitles(plot);
}

void SpectrumPainter::drawData(QPainter& painter, PixelCanvas&, const GraphScene& scene) {
    const PlotRect& plot = scene.layout.plot;
    for (int c = 0; c < scene.channels(); ++c) {
        curve_.assign(scene.engine.channel(c).spectrumPoints, plot.left, plot.top);
        painter.setPen(scene.style.curvePen(c));
        curve_.draw(painter);
    }
    for (int c = 0; c < scene.channels(); ++c) drawMarker(painter, scene, c);
}

// A vertical and a horizontal line across the plot through the selected bin's point.
void SpectrumPainter::drawMarker(QPainter& painter, const GraphScene& scene, int channel) {
    const ChannelResults& results = scene.engine.channel(channel);
    if (!results.hasMarker) return;
    const PlotRect& plot = scene.layout.plot;
    const QColor& colour = scene.style.markerPen(channel).color();
    const int x = plot.left + results.marker.x;
    const int y = plot.top + static_cast<int>(results.marker.y);
    if (x >= plot.left && x < plot.right()) painter.fillRect(x, plot.top, 1, plot.height, colour);
    if (y >= plot.top && y < plot.bottom()) painter.fillRect(plot.left, y, plot.width, 1, colour);
}

}  // namespace phonomir
