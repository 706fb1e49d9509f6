#include "phonomir/BandSlots.h"


namespace phonomir {

int bandSlotCentre(int slot, int slotCount, const PlotRect& plot) {
    return plot.left + static_cast<int>((slot + 0.5) * plot.width / slotCount);
}

BarSpan bandBar(int slot, int slotCount, const PlotRect& plot, int channel, int channels) {
    const double w = static_cast<double>(plot.width) / slotCount;
    const int centre = bandSlotCentre(slot, slotCount, plot);
    if (channels < 2) {
        const int half = static_cast<int>(w / 3);
        return {centre - half, centre + half};
    }
    const int width = static_cast<int>(0.4 * w);
    return channel == 0 ? BarSpan{centre - width, centre} : BarSpan{centre, centre + width};
}

int bandLevelRow(double levelDb, const DisplayRange& range, const PlotRect& plot) {
    const double fraction = (levelDb - range.highLevel) / (range.lowLevel - range.highLevel);
    if (!(fraction < 1)) return plot.bottom();  // below the range (-1000 for no band), or not a number
    if (fraction <= 0) return plot.top;
    return plot.top + static_cast<int>(fraction * plot.height);
}

}  // namespace phonomir
