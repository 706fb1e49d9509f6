// The correlation display: +1 to -1 over the plot's height with a grid every 0.2, the lag axis
// in milliseconds (ACF from 0, CCF centred on 0), the curves, and the shading under each curve
// at every second column, masked onto what is already there.
//
// Owned by GraphRenderer; called on the UI thread.
#pragma once

#include "phonomir/DisplayPainter.h"
#include "phonomir/LagTicks.h"
#include "phonomir/PlotPolyline.h"

#include <vector>

namespace phonomir {

class CorrelationPainter : public DisplayPainter {
public:
    void prepare(const GraphScene& scene) override;
    void drawBackground(QPainter& painter, const GraphScene& scene) override;
    void drawData(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene) override;

private:
    void drawLevelGrid(QPainter& painter, const GraphScene& scene);
    void drawLagAxis(QPainter& painter, const GraphScene& scene);
    void drawCurve(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene, int channel, const QPen& pen,
                   int parity);
    void drawShading(PixelCanvas& pixels, const GraphScene& scene, std::uint32_t colour, int parity);
    bool crossCorrelation(const GraphScene& scene) const;

    PlotPolyline curve_;
    std::vector<float> shadingRows_;
    std::vector<LagTick> ticks_;
};

}  // namespace phonomir
