#include "phonomir/CorrelationPainter.h"

#include "phonomir/AxisPainter.h"
#include "phonomir/CorrelationShading.h"

#include <QPainter>

#include <cmath>

namespace phonomir {

bool CorrelationPainter::crossCorrelation(const GraphScene& scene) const {
    return scene.channels() == 2 && scene.settings.correlation == 1;
}

void CorrelationPainter::prepare(const GraphScene& scene) {
    const int width = scene.layout.plot.width;
    curve_.reserve(2 * static_cast<std::size_t>(scene.engine.fftSize() / 10) + 1);
    shadingRows_.reserve(width);
}

void CorrelationPainter::drawBackground(QPainter& painter, const GraphScene& scene) {
    const PlotRect& plot = scene.layout.plot;
    AxisPainter(painter, scene).drawFrame(plot);
    drawLagAxis(painter, scene);
    drawLevelGrid(painter, scene);
    painter.setPen(scene.style.axisText);
    scene.fonts.drawCentred(painter, scene.texts.lag + QStringLiteral(" [ms]"), plot.left + plot.width / 2,
                            scene.layout.clientHeight - 3);
    scene.fonts.drawVertical(painter, scene.texts.correlation, 1, plot.top + plot.height / 2);
}

// Lines at 0.8 .. -0.8 (the zero line black), labels "%g" from 1 to -1 left of the plot.
void CorrelationPainter::drawLevelGrid(QPainter& painter, const GraphScene& scene) {
    const PlotRect& plot = scene.layout.plot;
    for (int step = 5; step >= -5; --step) {
        const double value = step / 5.0;
        const int y = plot.top + static_cast<int>(correlationRow(value, plot.height));
        if (step != 5 && step != -5)
            painter.fillRect(plot.left, y, plot.width, 1, step == 0 ? scene.style.zeroLine : scene.style.correlationGrid);
        painter.setPen(scene.style.axisText);
        scene.fonts.drawRightAligned(painter, QString::asprintf("%g", value), plot.left - 2,
                                     y + scene.fonts.digitCentreOffset());
    }
}

// Minor ticks light grey; major ticks grey, black at lag 0, labelled under the plot.
void CorrelationPainter::drawLagAxis(QPainter& painter, const GraphScene& scene) {
    const PlotRect& plot = scene.layout.plot;
    const double span = static_cast<double>(scene.engine.fftSize()) / (10.0 * scene.engine.rate());
    lagTicks(span, crossCorrelation(scene), plot, ticks_);
    const int baseline = plot.bottom() + 2 + scene.layout.ascent;
    for (const LagTick& tick : ticks_) {
        const QColor& colour = !tick.major ? scene.style.correlationGrid
                               : tick.lagMs == 0 ? scene.style.zeroLine : scene.style.grid;
        if (tick.line) painter.fillRect(tick.x, plot.top, 1, plot.height, colour);
        if (!tick.major) continue;
        painter.setPen(scene.style.axisText);
        scene.fonts.drawCentred(painter, QString::asprintf("%g", tick.lagMs), tick.x, baseline);
    }
}

void CorrelationPainter::drawData(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene) {
    if (crossCorrelation(scene)) {
        drawCurve(painter, pixels, scene, 0, scene.style.crossCurve, 0);
        return;
    }
    for (int c = 0; c < scene.channels(); ++c) drawCurve(painter, pixels, scene, c, scene.style.curvePen(c), c);
}

void CorrelationPainter::drawCurve(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene, int channel,
                                   const QPen& pen, int parity) {
    const PlotRect& plot = scene.layout.plot;
    const auto& points = scene.engine.channel(channel).correlationPoints;
    curve_.assign(points, plot.left, plot.top);
    painter.setPen(pen);
    curve_.draw(painter);
    shadingRows(points, plot.width, shadingRows_);
    drawShading(pixels, scene, pen.color().rgb(), parity);
}

// Vertical lines from the zero line to the curve at the columns of one parity, ANDed onto the
// image (the "mask" raster operation) so that the grid shows through the shading.
void CorrelationPainter::drawShading(PixelCanvas& pixels, const GraphScene& scene, std::uint32_t colour, int parity) {
    const PlotRect& plot = scene.layout.plot;
    const int zero = plot.top + static_cast<int>(correlationRow(0.0, plot.height));
    for (int x = parity; x < static_cast<int>(shadingRows_.size()); x += 2)
        if (!std::isnan(shadingRows_[x]))
            pixels.maskColumn(plot.left + x, zero, plot.top + static_cast<int>(std::lround(shadingRows_[x])), colour);
}

}  // namespace phonomir
