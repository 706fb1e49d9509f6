#include "phonomir/AnalysisWindow.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace phonomir {

void makeWindow(WindowType type, int N, float* out) {
    if (N <= 0) return;
    // 1/32767 turns 16-bit samples into full-scale units, 1/N normalises the transform, and the
    // shape's mean square (the divisors) gives every window unit mean-square gain.
    double g = 1.0 / (static_cast<double>(N) * 32767.0);
    switch (type) {
        case WindowType::Triangular: g *= std::sqrt(3.0); break;
        case WindowType::Hamming: g /= std::sqrt(0.3974); break;
        case WindowType::Hanning: g /= std::sqrt(0.375); break;
        case WindowType::Blackman: g /= std::sqrt(0.3046); break;
        default: break;
    }
    const int h = N / 2;
    const double period = N > 1 ? static_cast<double>(N - 1) : 1.0;
    for (int i = 0; i < N; ++i) {
        const double theta = 2.0 * std::numbers::pi * i / period;
        double shape = 1.0;
        switch (type) {
            case WindowType::Triangular:
                shape = h > 0 ? 1.0 - std::abs(h - i) / static_cast<double>(h) : 1.0;
                break;
            case WindowType::Hamming: shape = 0.54 - 0.46 * std::cos(theta); break;
            case WindowType::Hanning: shape = 0.5 - 0.5 * std::cos(theta); break;
            case WindowType::Blackman:
                shape = 0.42 - 0.5 * std::cos(theta) + 0.08 * std::cos(2.0 * theta);
                break;
            default: break;
        }
        out[i] = static_cast<float>(g * shape);
    }
}

}  // namespace phonomir
