// Draws the parts the spectrum, 1/3-octave and waterfall displays share: the framed white plot,
// the frequency and level grids with their labels, and the axis titles.
//
// Created for one background drawing on the UI thread.
#pragma once

#include "phonomir/AxisTicks.h"
#include "phonomir/GraphScene.h"

#include <vector>

class QPainter;

namespace phonomir {

class AxisPainter {
public:
    AxisPainter(QPainter& painter, const GraphScene& scene) : painter_(painter), scene_(scene) {}

    // A black frame one pixel outside the plot, the plot filled white.
    void drawFrame(const PlotRect& plot);
    // Grid lines inside the plot and labels centred under it, their baseline at `baseline`.
    void drawFrequencyAxis(const PlotRect& plot, int baseline);
    // Grid lines inside the plot; labels ending 2 pixels left of it, or starting 3 pixels right
    // of it with labelsOnRight.
    void drawLevelAxis(const PlotRect& plot, bool labelsOnRight = false);
    // "Frequency [Hz]" centred under the plot on the window's last text row; "SPL [dB]" turned
    // at the window's left edge, or with levelLabelsOnRight above the labels right of the plot.
    void drawTitles(const PlotRect& plot, bool levelLabelsOnRight = false);
    // The baseline of the window's last text row.
    int titleBaseline() const { return scene_.layout.clientHeight - 3; }

private:
    void verticalLine(int x, int top, int bottom, const QColor& colour);
    void horizontalLine(int y, int left, int right, const QColor& colour);

    QPainter& painter_;
    const GraphScene& scene_;
    std::vector<AxisTick> ticks_;
};

}  // namespace phonomir
