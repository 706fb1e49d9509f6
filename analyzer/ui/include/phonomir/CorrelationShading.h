// Heights of the shading under a correlation curve: one row per pixel column of the plot,
// taken from the curve's points and interpolated between them.
#pragma once

#include "phonomir/AnalyzerResults.h"

#include <span>
#include <vector>

namespace phonomir {

// rows gets `width` entries in plot-relative pixels; a column outside the curve's first and last
// point is NaN (not shaded). Where several points share a column the last one counts. rows
// keeps its capacity, so a reserved vector is not reallocated.
void shadingRows(std::span<const PlotPoint> points, int width, std::vector<float>& rows);

}  // namespace phonomir
