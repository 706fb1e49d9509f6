#include "phonomir/PlotPolyline.h"

#include <QPainter>

namespace phonomir {

void PlotPolyline::assign(std::span<const PlotPoint> points, int plotLeft, int plotTop) {
    points_.clear();
    for (const PlotPoint& p : points) points_.emplace_back(plotLeft + p.x, plotTop + p.y);
}

void PlotPolyline::draw(QPainter& painter) const {
    if (points_.size() == 1)
        painter.drawPoint(points_.front());
    else if (points_.size() > 1)
        painter.drawPolyline(points_.data(), static_cast<int>(points_.size()));
}

}  // namespace phonomir
