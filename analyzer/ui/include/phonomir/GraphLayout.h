// Where the analyzer graph puts its plot, from the window's client size and the axis font's
// ascent. Pure arithmetic, shared by the painters, the mouse selection and the tests.
#pragma once

#include "phonomir/AnalyzerSettings.h"

namespace phonomir {

// A rectangle of window pixels: columns left .. left + width - 1, rows top .. top + height - 1.
struct PlotRect {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;

    int right() const { return left + width; }    // first column past the plot
    int bottom() const { return top + height; }   // first row past the plot
    bool contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
};

struct GraphLayout {
    DisplayType type = DisplayType::Spectrum;
    int clientWidth = 0;
    int clientHeight = 0;
    int ascent = 0;
    // The plot the engine's coordinates refer to (the waterfall's front plot); the frame is
    // drawn one pixel outside it.
    PlotRect plot;
    // What each repaint restores from the background and draws on (the waterfall's lines reach
    // up and to the left of the front plot).
    PlotRect data;
    int axisBottom = 0;         // H - 2a - 6, or H - 3a - 8 with the 1/3-octave's two label rows
    int waterfallLines = 0;     // N
    int waterfallDx = 0;        // shift of each line behind the one in front: left ...
    int waterfallDy = 0;        // ... and up
};

// clientWidth x clientHeight: the graph window's client size; ascent: the axis font's ascent;
// waterfallLines: "Number of Data", 5..32 (used by the waterfall only).
GraphLayout computeGraphLayout(DisplayType type, int clientWidth, int clientHeight, int ascent, int waterfallLines);

}  // namespace phonomir
