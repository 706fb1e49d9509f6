// The waterfall display: the last N spectra in an oblique view, each line behind the front
// plot shifted left and up, with hidden lines removed by a horizon; the front plot carries the
// frequency and level axes, the oblique time axis its history length.
//
// Owned by GraphRenderer; called on the UI thread.
#pragma once

#include "phonomir/DisplayPainter.h"
#include "phonomir/WaterfallDepth.h"
#include "phonomir/WaterfallHorizon.h"

#include <span>

namespace phonomir {

class WaterfallPainter : public DisplayPainter {
public:
    void prepare(const GraphScene& scene) override;
    void drawBackground(QPainter& painter, const GraphScene& scene) override;
    void drawData(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene) override;

private:
    void drawTimeAxis(QPainter& painter, const GraphScene& scene);
    void drawChannel(PixelCanvas& pixels, const GraphScene& scene, int channel);
    void drawLine(ColumnTrace& trace, const GraphScene& scene, std::span<const float> line, int depth);

    WaterfallHorizon horizon_;
};

}  // namespace phonomir
