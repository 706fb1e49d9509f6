#include "phonomir/TraceGeometry.h"

#include <algorithm>

namespace phonomir {

TraceGeometry TraceGeometry::forClientArea(int width, int height) {
    TraceGeometry g;
    g.divPx = std::max(0, std::min((height - 26) / 50, (width - 16) / 70) * 5);
    g.gridWidth = 14 * g.divPx;
    g.gridHeight = 10 * g.divPx;
    g.left = (width - g.gridWidth) / 2;
    g.top = (height - g.gridHeight) * 2 / 3;
    g.right = g.left + g.gridWidth;
    g.bottom = g.top + g.gridHeight;
    g.centerX = g.left + g.gridWidth / 2;
    g.centerY = g.top + g.gridHeight / 2;
    return g;
}

PixelPoint TraceGeometry::timeTracePoint(int k, double triggerFraction, int sweepSamples,
                                         int sample, int position, int unitsPerDiv) const {
    const int x = left + static_cast<int>(gridWidth * (k + triggerFraction) / std::max(1, sweepSamples));
    const int y = centerY - position * gridHeight / 100 - sample * divPx / std::max(1, unitsPerDiv);
    return {x, y};
}

PixelPoint TraceGeometry::xyPoint(int leftSample, int rightSample, int positionLeft,
                                  int positionRight, int unitsPerDivLeft, int unitsPerDivRight) const {
    const int x = centerX + positionLeft * gridHeight / 100 + leftSample * divPx / std::max(1, unitsPerDivLeft);
    const int y = centerY - positionRight * gridHeight / 100 - rightSample * divPx / std::max(1, unitsPerDivRight);
    return {x, y};
}

int TraceGeometry::markerY(int markerLevelPercent) const {
    return centerY - markerLevelPercent * gridHeight / 100;
}

}  // namespace phonomir
