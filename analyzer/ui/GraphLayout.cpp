#include "phonomir/GraphLayout.h"

#include <algorithm>

namespace phonomir {
namespace {

constexpr int kLeft = 30;
constexpr int kTop = 5;

// A window too small for its margins still gets a plot of one pixel, so that images and the
// engine's arrays never have a zero or negative size.
PlotRect rectangle(int left, int top, int width, int height) {
    return {left, top, std::max(width, 1), std::max(height, 1)};
}

GraphLayout waterfallLayout(GraphLayout layout, int lines) {
    const int w = layout.clientWidth;
    layout.waterfallLines = std::clamp(lines, 5, 32);
    const int n = layout.waterfallLines;
    layout.waterfallDx = std::max((w - 54) / 5 / n, 0);
    layout.waterfallDy = 5 * layout.waterfallDx / 3;
    const int frontLeft = kLeft + n * layout.waterfallDx;
    const int frontHeight = layout.axisBottom - (n * layout.waterfallDy + kTop) - 6;
    layout.plot = rectangle(frontLeft, layout.axisBottom - frontHeight, w - 24 - frontLeft, frontHeight);
    layout.data = rectangle(kLeft, kTop, layout.plot.right() - kLeft, layout.axisBottom - kTop);
    return layout;
}

}  // namespace

GraphLayout computeGraphLayout(DisplayType type, int clientWidth, int clientHeight, int ascent, int waterfallLines) {
    GraphLayout layout;
    layout.type = type;
    layout.clientWidth = clientWidth;
    layout.clientHeight = clientHeight;
    layout.ascent = ascent;
    const bool bands = type == DisplayType::ThirdOctave;
    layout.axisBottom = bands ? clientHeight - 3 * ascent - 8 : clientHeight - 2 * ascent - 6;
    if (type == DisplayType::Waterfall) return waterfallLayout(layout, waterfallLines);
    // The 1/3-octave plot is 3 pixels shorter, so its lowest level lies on the frame as on the
    // other displays.
    const int height = bands ? layout.axisBottom - 8 : layout.axisBottom - kTop;
    layout.plot = rectangle(kLeft, kTop, clientWidth - 40, height);
    layout.data = layout.plot;
    return layout;
}

}  // namespace phonomir
