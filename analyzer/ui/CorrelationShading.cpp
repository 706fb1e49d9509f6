#include "phonomir/CorrelationShading.h"

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

void fillSegment(const PlotPoint& from, const PlotPoint& to, std::vector<float>& rows) {
    const int width = static_cast<int>(rows.size());
    for (int x = std::max(from.x, 0); x < to.x && x < width; ++x)
        rows[x] = from.y + (to.y - from.y) * static_cast<float>(x - from.x) / static_cast<float>(to.x - from.x);
}

}  // namespace

void shadingRows(std::span<const PlotPoint> points, int width, std::vector<float>& rows) {
    rows.assign(width > 0 ? width : 0, NAN);
    for (std::size_t k = 0; k + 1 < points.size(); ++k) fillSegment(points[k], points[k + 1], rows);
    if (!points.empty() && points.back().x >= 0 && points.back().x < width) rows[points.back().x] = points.back().y;
}

}  // namespace phonomir
