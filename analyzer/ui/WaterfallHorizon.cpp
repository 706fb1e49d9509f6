#include "phonomir/WaterfallHorizon.h"

namespace phonomir {

void WaterfallHorizon::reset(int firstColumn, int columns, float bottom) {
    firstColumn_ = firstColumn;
    rows_.assign(columns > 0 ? columns : 0, bottom);
}

float WaterfallHorizon::hide(int x, float y) {
    const int column = x - firstColumn_;
    if (column < 0 || column >= static_cast<int>(rows_.size())) return y;
    float& horizon = rows_[column];
    if (y < horizon) horizon = y;  // rows grow downwards: smaller is higher
    return horizon;
}

}  // namespace phonomir
