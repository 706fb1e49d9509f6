// The spectrum display: each channel's reduced spectrum as a polyline over a linear or
// logarithmic frequency axis, and the marker lines through a selected bin.
//
// Owned by GraphRenderer; called on the UI thread.
#pragma once

#include "phonomir/DisplayPainter.h"
#include "phonomir/PlotPolyline.h"

namespace phonomir {

class SpectrumPainter : public DisplayPainter {
public:
    void prepare(const GraphScene& scene) override;
    void drawBackground(QPainter& painter, const GraphScene& scene) override;
    void drawData(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene) override;

private:
    void drawMarker(QPainter& painter, const GraphScene& scene, int channel);

    PlotPolyline curve_;
};

}  // namespace phonomir
