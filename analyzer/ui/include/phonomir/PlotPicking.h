// Turns a mouse position on the analyzer graph back into what it points at: an FFT bin on the
// spectrum or a band slot on the 1/3-octave display.
#pragma once

#include "phonomir/DisplayRange.h"
#include "phonomir/GraphLayout.h"

namespace phonomir {

// The bin under (x, y): the frequency of column x on the plot's axis, divided by the bin
// spacing and truncated. 0 when the point is off the plot or the bin is outside 2 .. n/2 - 1.
int binAt(int x, int y, const PlotRect& plot, const DisplayRange& range, double binSpacingHz, int fftSize);

// The slot (0 .. slotCount - 1) under (x, y), or -1 off the plot.
int bandSlotAt(int x, int y, const PlotRect& plot, int slotCount);

}  // namespace phonomir
