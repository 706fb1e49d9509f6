#include "phonomir/WaterfallHorizon.h"

namespace phonomir {

void WaterfallHorizon::reserve(int columns) {
    rows_.reserve(columns);
    owners_.reserve(columns);
}

void WaterfallHorizon::reset(int firstColumn, int columns, float bottom) {
    firstColumn_ = firstColumn;
    rows_.assign(columns > 0 ? columns : 0, bottom);
    owners_.assign(rows_.size(), -1);
}

}  // namespace phonomir
