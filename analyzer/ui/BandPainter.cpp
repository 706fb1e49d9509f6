#include "phonomir/BandPainter.h"

#include "phonomir/AxisPainter.h"
#include "phonomir/BandSlots.h"
#include "phonomir/BandTable.h"

#include <QPainter>

namespace phonomir {
namespace {

constexpr int kPeakHoldHeight = 6;

}  // namespace

void BandPainter::drawBackground(QPainter& painter, const GraphScene& scene) {
    AxisPainter axes(painter, scene);
    axes.drawFrame(scene.layout.plot);
    axes.drawLevelAxis(scene.layout.plot);
    axes.drawTitles(scene.layout.plot);
    drawSlotLabels(painter, scene);
}

// Odd slots on the first row under the plot, even slots ("ALL" among them) on the second, so
// that neighbouring labels never collide.
void BandPainter::drawSlotLabels(QPainter& painter, const GraphScene& scene) {
    const PlotRect& plot = scene.layout.plot;
    const int slotCount = scene.engine.bandSlots();
    const int firstRow = plot.bottom() + 2 + scene.layout.ascent;
    painter.setPen(scene.style.axisText);
    for (int slot = 0; slot < slotCount; ++slot) {
        const std::string_view label = BandTable::label(slot);
        const int baseline = slot % 2 == 1 ? firstRow : firstRow + scene.layout.ascent + 2;
        scene.fonts.drawCentred(painter, QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())),
                                bandSlotCentre(slot, slotCount, plot), baseline);
    }
}

void BandPainter::drawData(QPainter& painter, PixelCanvas&, const GraphScene& scene) {
    for (int slot = 0; slot < scene.engine.bandSlots(); ++slot)
        for (int c = 0; c < scene.channels(); ++c) {
            drawBar(painter, scene, slot, c);
            if (scene.settings.peakHold) drawPeakHold(painter, scene, slot, c);
        }
}

void BandPainter::drawBar(QPainter& painter, const GraphScene& scene, int slot, int channel) {
    const PlotRect& plot = scene.layout.plot;
    const ChannelResults& results = scene.engine.channel(channel);
    const BarSpan bar = bandBar(slot, scene.engine.bandSlots(), plot, channel, scene.channels());
    const int top = bandLevelRow(results.bandLevel[slot], scene.engine.range(), plot);
    painter.fillRect(bar.left, top, bar.right - bar.left, plot.bottom() - top,
                     scene.style.barBrush(channel, slot == results.selectedBand));
}

// A mark 6 pixels high centred on the held level's row, kept inside the plot.
void BandPainter::drawPeakHold(QPainter& painter, const GraphScene& scene, int slot, int channel) {
    const PlotRect& plot = scene.layout.plot;
    const BarSpan bar = bandBar(slot, scene.engine.bandSlots(), plot, channel, scene.channels());
    const int row = bandLevelRow(scene.engine.channel(channel).heldLevel[slot], scene.engine.range(), plot);
    if (row >= plot.bottom()) return;
    const int top = std::max(row - kPeakHoldHeight / 2, plot.top);
    const int bottom = std::min(row + kPeakHoldHeight / 2, plot.bottom());
    painter.setBrushOrigin(plot.left, plot.top);
    painter.fillRect(bar.left, top, bar.right - bar.left, bottom - top, scene.style.peakHoldBrush(channel));
}

}  // namespace phonomir
