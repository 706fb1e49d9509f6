// Per-bin gain curves for an n-point FFT: microphone response corrections from (frequency, dB)
// points joined by a natural cubic spline over ln f, and the A, B and C frequency weightings.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace phonomir {

struct ResponsePoint {
    double frequencyHz;  // > 0, points in ascending frequency
    double levelDb;
};

// Natural cubic spline through (x_i, y_i), x ascending. Outside the points the end intervals'
// cubics continue (to the left with the sign of |d|*d in the quadratic and cubic terms).
class LogFrequencySpline {
public:
    LogFrequencySpline(const double* x, const double* y, int count);
    double evaluate(double x) const;
    int pointCount() const { return static_cast<int>(x_.size()); }

private:
    std::vector<double> x_, y_, sigma_;  // sigma_i = one sixth of the second derivative at x_i
};

// Fills out[0 .. n-1] for an n-point FFT at `rate` Hz: out[0] = 0; with fewer than 3 points
// every other bin is 1.0; otherwise out[h] = out[n-h] = 10^(S(ln(h rate / n)) / divisor) for
// h = 1 .. n/2. divisor 20 gives amplitude factors, 10 power factors.
void BuildResponseCurve(float* out, int n, double rate, const ResponsePoint* points, int count,
                        double divisor);

// Weighting kinds, in the order every weighting list shows them.
enum class WeightingKind : std::int32_t { Flat = 0, A = 1, B = 2, C = 3 };

// kind Flat: a flat curve (0 at DC, 1 elsewhere); A, B, C: BuildResponseCurve over the
// 34-point table of that weighting.
void BuildWeightingCurve(float* out, int n, double rate, WeightingKind kind, double divisor);

// The 34 one-third-octave points of a weighting at the exact frequencies 10^(1 + k/10) Hz,
// k = 0 .. 33, levels in dB rounded to 0.1 dB. Flat gives 34 points at 0 dB.
const std::array<ResponsePoint, 34>& weightingTable(WeightingKind kind);

}  // namespace phonomir
