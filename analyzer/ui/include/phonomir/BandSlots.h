// Where the 1/3-octave display puts its slots and bars: B slots of equal width across the
// plot, one bar per channel in each.
#pragma once

#include "phonomir/DisplayRange.h"
#include "phonomir/GraphLayout.h"

namespace phonomir {

struct BarSpan {
    int left = 0;   // first column
    int right = 0;  // first column past the bar
};

// Centre column of slot i: (i + 0.5) x the slot width from the plot's left edge.
int bandSlotCentre(int slot, int slotCount, const PlotRect& plot);

// One channel: centre -/+ trunc(w/3). Two channels: the left bar ends and the right bar starts
// at the centre, each trunc(0.4 w) wide.
BarSpan bandBar(int slot, int slotCount, const PlotRect& plot, int channel, int channels);

// Row of a level on the plot, limited to top .. bottom; bottom (no bar) for a level that is not
// a number.
int bandLevelRow(double levelDb, const DisplayRange& range, const PlotRect& plot);

}  // namespace phonomir
