// The vertex of the parabola through three equally spaced values around a local maximum, for
// placing a peak between lags. Private to the factor computations.
#pragma once

namespace phonomir {

struct PeakVertex {
    double offset = 0.0;  // from the middle value, in lags, within -0.5 .. 0.5
    double height = 0.0;
};

// before <= at >= after (one of them strictly): the parabola's vertex; a flat triple: the middle.
inline PeakVertex peakVertex(double before, double at, double after) {
    const double curvature = before - 2.0 * at + after;
    if (!(curvature < 0.0)) return {0.0, at};
    double offset = 0.5 * (before - after) / curvature;
    offset = offset < -0.5 ? -0.5 : offset > 0.5 ? 0.5 : offset;
    return {offset, at - 0.25 * (before - after) * offset};
}

}  // namespace phonomir
