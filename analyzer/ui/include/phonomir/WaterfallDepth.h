// Which spectrum of the waterfall's history goes at which depth of the oblique view.
#pragma once

namespace phonomir {

// The ring age (0 = newest) shown at depth k (0 = front) of N lines, or -1 while that depth is
// still empty. Backward puts the newest in front; Forward puts the newest at the back, so the
// lines travel forwards as blocks arrive.
int waterfallAgeAtDepth(int depth, int lines, int filled, bool backward);

}  // namespace phonomir
