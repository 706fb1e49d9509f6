// The correlation display's axes: lag ticks along the bottom and the correlation grid
// (+1 at the top, -1 at the bottom, every 0.2). Pure arithmetic for the painter and the tests.
#pragma once

#include "phonomir/GraphLayout.h"

#include <vector>

namespace phonomir {

struct LagTick {
    int x = 0;            // window column
    double lagMs = 0;     // signed lag in milliseconds
    bool major = false;   // labelled "%g" of lagMs, drawn in the major-tick colour
    bool line = true;     // false on the plot's left edge, where the frame already is
};

// spanSeconds: S = n / (10 fs). ACF (cross false) runs from lag 0 at the left edge to S at the
// right edge; CCF (cross true) from -S through 0 at the centre to +S.
void lagTicks(double spanSeconds, bool cross, const PlotRect& plot, std::vector<LagTick>& ticks);

// Row of a correlation value v (-1 .. 1): the centre less v times half the plot height,
// rounded as the engine rounds its curve points; in plot-relative pixels.
float correlationRow(double value, int plotHeight);

}  // namespace phonomir
