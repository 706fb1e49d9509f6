// Reduces a dense frequency response to the few points a calibration record holds, choosing the
// points whose interpolating curve (the spline over ln f that the analyzer uses, see
// ResponseCurve.h) stays closest to every point of the full response.
#pragma once

#include "phonomir/ResponseCurve.h"

#include <vector>

namespace phonomir {

struct ReducedResponse {
    std::vector<ResponsePoint> points;  // ascending, at most the limit, always the first and last
    double maxDeviationDb = 0;          // largest |curve(f) - level| over the full response's points
};

// points: ascending frequencies. Up to `limit` points are kept unchanged (deviation 0).
// Otherwise the first and last points are kept and the rest chosen greedily (each time the point
// the current curve misses most), then improved by moving single points while the largest
// deviation falls.
ReducedResponse reduceResponse(const std::vector<ResponsePoint>& points, int limit);

// The largest deviation of the curve through `chosen` from `all`, in dB. With fewer than three
// chosen points the curve is flat at 0 dB, as the analyzer applies it.
double responseDeviation(const std::vector<ResponsePoint>& chosen, const std::vector<ResponsePoint>& all);

}  // namespace phonomir
