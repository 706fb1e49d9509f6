// The 1/3-octave display: one slot per band ("ALL" first), labels on two alternating rows,
// a bar per channel from the band level down to the plot's bottom, the selected band in the
// channel's selected brush, and patterned peak-hold marks.
//
// Owned by GraphRenderer; called on the UI thread.
#pragma once

#include "phonomir/DisplayPainter.h"

namespace phonomir {

class BandPainter : public DisplayPainter {
public:
    void prepare(const GraphScene&) override {}
    void drawBackground(QPainter& painter, const GraphScene& scene) override;
    void drawData(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene) override;

private:
    void drawSlotLabels(QPainter& painter, const GraphScene& scene);
    void drawBar(QPainter& painter, const GraphScene& scene, int slot, int channel);
    void drawPeakHold(QPainter& painter, const GraphScene& scene, int slot, int channel);
};

}  // namespace phonomir
