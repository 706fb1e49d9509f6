// A reusable buffer that turns the engine's plot-relative points into window points and draws
// them as one polyline. Reserved at display setup, so drawing allocates nothing.
//
// Owned by a display painter; used on the UI thread.
#pragma once

#include "phonomir/AnalyzerResults.h"

#include <QPointF>

#include <span>
#include <vector>

class QPainter;

namespace phonomir {

class PlotPolyline {
public:
    void reserve(std::size_t points) { points_.reserve(points); }
    void clear() { points_.clear(); }
    void add(double x, double y) { points_.emplace_back(x, y); }
    // Replaces the buffer with `points` shifted by the plot's top-left corner.
    void assign(std::span<const PlotPoint> points, int plotLeft, int plotTop);
    void draw(QPainter& painter) const;

private:
    std::vector<QPointF> points_;
};

}  // namespace phonomir
