#include "phonomir/ResponseCurve.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

LogFrequencySpline::LogFrequencySpline(const double* x, const double* y, int count)
    : x_(x, x + std::max(count, 0)), y_(y, y + std::max(count, 0)), sigma_(x_.size(), 0.0) {
    const int m = static_cast<int>(x_.size());
    if (m < 3) return;
    // Natural spline: sigma_0 = sigma_(m-1) = 0; the tridiagonal system for sigma_1 .. sigma_(m-2)
    // is solved by forward elimination (diagonal in `diag`, right side in sigma_) and back
    // substitution.
    std::vector<double> diag(m, 0.0);
    for (int i = 1; i < m - 1; ++i) {
        const double wPrev = x_[i] - x_[i - 1], w = x_[i + 1] - x_[i];
        diag[i] = 2.0 * (wPrev + w);
        sigma_[i] = (y_[i + 1] - y_[i]) / w - (y_[i] - y_[i - 1]) / wPrev;
    }
    for (int i = 1; i < m - 2; ++i) {
        const double w = x_[i + 1] - x_[i];
        const double factor = w / diag[i];
        diag[i + 1] -= factor * w;
        sigma_[i + 1] -= factor * sigma_[i];
    }
    for (int i = m - 2; i >= 1; --i) {
        const double w = x_[i + 1] - x_[i];
        sigma_[i] = (sigma_[i] - w * sigma_[i + 1]) / diag[i];
    }
}

double LogFrequencySpline::evaluate(double x) const {
    const int m = static_cast<int>(x_.size());
    if (m == 0) return 0.0;
    if (m == 1) return y_[0];
    // First index j with x_j >= x (m - 1 when none); the interval starts one below it.
    const int j = std::min<int>(static_cast<int>(std::lower_bound(x_.begin(), x_.end(), x) - x_.begin()), m - 1);
    const int i = j == 0 ? 0 : j - 1;
    const double d = x - x_[i], w = x_[i + 1] - x_[i];
    return y_[i] + d * (std::fabs(d) * (d * (sigma_[i + 1] - sigma_[i]) / w + 3.0 * sigma_[i]) +
                        ((y_[i + 1] - y_[i]) / w - w * (sigma_[i + 1] + 2.0 * sigma_[i])));
}

void BuildResponseCurve(float* out, int n, double rate, const ResponsePoint* points, int count,
                        double divisor) {
    if (n <= 0) return;
    out[0] = 0.0f;
    if (count < 3) {
        std::fill(out + 1, out + n, 1.0f);
        return;
    }
    std::vector<double> x(count), y(count);
    for (int i = 0; i < count; ++i) {
        x[i] = std::log(points[i].frequencyHz);
        y[i] = points[i].levelDb;
    }
    const LogFrequencySpline spline(x.data(), y.data(), count);
    for (int h = 1; h <= n / 2; ++h) {
        const double f = h * rate / n;
        const float v = static_cast<float>(std::pow(10.0, spline.evaluate(std::log(f)) / divisor));
        out[h] = v;
        out[n - h] = v;
    }
}

namespace {

// Frequencies 10^(1 + k/10) Hz, k = 0 .. 33.
std::array<ResponsePoint, 34> pointsAt(const std::array<double, 34>& levels) {
    std::array<ResponsePoint, 34> table{};
    for (int k = 0; k < 34; ++k) table[k] = {std::pow(10.0, 1.0 + k / 10.0), levels[k]};
    return table;
}

// The standard weightings' closed-form curves evaluated at the exact one-third-octave
// frequencies and rounded to 0.1 dB (these agree with the standards' tabulated values).
constexpr std::array<double, 34> kALevels = {
    -70.4, -63.4, -56.7, -50.5, -44.7, -39.4, -34.6, -30.2, -26.2, -22.5, -19.1, -16.1,
    -13.4, -10.9, -8.6,  -6.6,  -4.8,  -3.2,  -1.9,  -0.8,  0.0,   0.6,   1.0,   1.2,
    1.3,   1.2,   1.0,   0.5,   -0.1,  -1.1,  -2.5,  -4.3,  -6.6,  -9.3};
constexpr std::array<double, 34> kBLevels = {
    -38.2, -33.2, -28.5, -24.2, -20.4, -17.1, -14.2, -11.6, -9.3, -7.4, -5.6, -4.2,
    -3.0,  -2.0,  -1.3,  -0.8,  -0.5,  -0.3,  -0.1,  0.0,   0.0,  0.0,  0.0,  -0.1,
    -0.2,  -0.4,  -0.7,  -1.2,  -1.9,  -2.9,  -4.3,  -6.1,  -8.4, -11.1};
constexpr std::array<double, 34> kCLevels = {
    -14.3, -11.2, -8.5, -6.2, -4.4, -3.0, -2.0, -1.3, -0.8, -0.5, -0.3, -0.2,
    -0.1,  0.0,   0.0,  0.0,  0.0,  0.0,  0.0,  0.0,  0.0,  0.0,  -0.1, -0.2,
    -0.3,  -0.5,  -0.8, -1.3, -2.0, -3.0, -4.4, -6.2, -8.5, -11.2};

}  // namespace

const std::array<ResponsePoint, 34>& weightingTable(WeightingKind kind) {
    static const std::array<ResponsePoint, 34> flat = pointsAt({});
    static const std::array<ResponsePoint, 34> a = pointsAt(kALevels);
    static const std::array<ResponsePoint, 34> b = pointsAt(kBLevels);
    static const std::array<ResponsePoint, 34> c = pointsAt(kCLevels);
    switch (kind) {
        case WeightingKind::A: return a;
        case WeightingKind::B: return b;
        case WeightingKind::C: return c;
        default: return flat;
    }
}

void BuildWeightingCurve(float* out, int n, double rate, WeightingKind kind, double divisor) {
    if (kind == WeightingKind::A || kind == WeightingKind::B || kind == WeightingKind::C) {
        const auto& table = weightingTable(kind);
        BuildResponseCurve(out, n, rate, table.data(), static_cast<int>(table.size()), divisor);
    } else {
        BuildResponseCurve(out, n, rate, nullptr, 0, divisor);
    }
}

}  // namespace phonomir
