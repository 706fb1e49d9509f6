#include "phonomir/PlotPicking.h"

#include <cmath>

namespace phonomir {

int binAt(int x, int y, const PlotRect& plot, const DisplayRange& range, double binSpacingHz, int fftSize) {
    if (!plot.contains(x, y) || !(binSpacingHz > 0)) return 0;
    const double fraction = static_cast<double>(x - plot.left) / plot.width;
    const double bin = std::trunc(frequencyAtFraction(range, fraction) / binSpacingHz);
    return bin >= 2 && bin <= fftSize / 2 - 1 ? static_cast<int>(bin) : 0;
}

int bandSlotAt(int x, int y, const PlotRect& plot, int slotCount) {
    if (!plot.contains(x, y)) return -1;
    const int slot = static_cast<int>(static_cast<long long>(slotCount) * (x - plot.left) / plot.width);
    return slot < slotCount ? slot : -1;
}

}  // namespace phonomir
