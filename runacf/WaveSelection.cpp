#include "phonomir/WaveSelection.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

void WaveSelection::selectAll(double duration) {
    if (!(duration > 0)) return clear();
    start_ = 0.0;
    end_ = duration;
}

void WaveSelection::setStart(double start, double duration) {
    if (!(duration > 0)) return clear();
    if (!any()) end_ = duration;
    start_ = std::isfinite(start) ? std::max(start, 0.0) : 0.0;
    if (start_ > end_ - kMinimumLength) start_ = std::max(0.0, end_ - kMinimumLength);
}

void WaveSelection::setEnd(double end, double duration) {
    if (!(duration > 0)) return clear();
    if (!any()) start_ = 0.0;
    end_ = std::isfinite(end) ? std::min(end, duration) : duration;
    if (end_ < start_ + kMinimumLength) end_ = std::min(duration, start_ + kMinimumLength);
}

}  // namespace phonomir
