// One of the analyzer graph's four displays. drawBackground draws the frame, grid and labels
// into the background image after each setup or resize; drawData draws the current results
// into the work image at each repaint, through the painter or straight into its pixels,
// allocating nothing. Both use window coordinates.
//
// Owned by GraphRenderer; called on the UI thread.
#pragma once

#include "phonomir/GraphScene.h"
#include "phonomir/PixelCanvas.h"

class QPainter;

namespace phonomir {

class DisplayPainter {
public:
    virtual ~DisplayPainter() = default;

    // Sizes the painter's buffers for the scene's layout and engine.
    virtual void prepare(const GraphScene& scene) = 0;
    virtual void drawBackground(QPainter& painter, const GraphScene& scene) = 0;
    virtual void drawData(QPainter& painter, PixelCanvas& pixels, const GraphScene& scene) = 0;
};

}  // namespace phonomir
