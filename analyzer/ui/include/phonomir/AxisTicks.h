// Grid lines and labels of the analyzer graph's frequency and level axes. Pure arithmetic:
// the painters draw what these lists say, and the tests read them directly.
#pragma once

#include "phonomir/DisplayRange.h"
#include "phonomir/GraphLayout.h"

#include <cstddef>
#include <vector>

namespace phonomir {

struct AxisTick {
    double value = 0;       // Hz or dB
    int position = 0;       // window pixels: x on a frequency axis, y on a level axis
    bool labelled = false;  // carries a text label
    bool gridLine = false;  // inside the plot, so drawn as a grid line (never on the frame)
};

// Level step for a range of high - low dB: about a seventh of it rounded to 1, 2 or 5 times a
// power of ten (140 dB gives 20, 110 dB gives 10).
int niceStep(int high, int low);

// Levels from high downwards in niceStep steps while not below low; each labelled.
void levelTicks(int high, int low, const PlotRect& plot, std::vector<AxisTick>& ticks);

// Frequencies of the linear or logarithmic axis of `range` over the plot's width. The
// logarithmic axis has a line at each 1-2-3..9 value of every decade and labels those whose
// text starts with 1, 2 or 5.
void frequencyTicks(const DisplayRange& range, const PlotRect& plot, std::vector<AxisTick>& ticks);

// "%d" below 1000 Hz, "%gk" of kHz from 1000 on.
void formatFrequencyLabel(double hertz, char* out, std::size_t size);

// Step of the linear frequency axis: 1, 10, 100, 1000 or 10000 Hz by a fifth of the span.
int linearFrequencyStep(double lowHz, double highHz);

}  // namespace phonomir
