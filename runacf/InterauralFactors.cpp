// IACC, tau_IACC and W_IACC from the interaural cross-correlation over |tau| <= 1 ms.
#include "phonomir/AcfFactors.h"

#include "PeakVertex.h"

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

// Where |iacf| first falls below `level` walking from the peak by `direction`, in lags
// (interpolated between the last lag at or above it and the first below); NaN when it does not.
double crossing(std::span<const float> iacf, std::size_t peak, int direction, double level) {
    for (std::ptrdiff_t j = static_cast<std::ptrdiff_t>(peak) + direction;
         j >= 0 && j < static_cast<std::ptrdiff_t>(iacf.size()); j += direction) {
        const double below = std::abs(iacf[j]);
        if (below >= level) continue;
        const double above = std::abs(iacf[j - direction]);
        return static_cast<double>(j - direction) + direction * (above - level) / (above - below);
    }
    return std::nan("");
}

}  // namespace

InterauralFactors interauralFactorsOf(std::span<const float> iacf, double lagMs, double widthFraction) {
    if (iacf.empty()) return {};
    const auto largest = std::max_element(iacf.begin(), iacf.end(), [](float a, float b) { return std::abs(a) < std::abs(b); });
    const auto peak = static_cast<std::size_t>(largest - iacf.begin());
    const double centre = static_cast<double>(iacf.size() / 2);
    PeakVertex vertex{0.0, std::abs(*largest)};
    if (peak > 0 && peak + 1 < iacf.size())
        vertex = peakVertex(std::abs(iacf[peak - 1]), std::abs(iacf[peak]), std::abs(iacf[peak + 1]));
    InterauralFactors factors;
    factors.iacc = static_cast<float>(std::min(vertex.height, 1.0));
    factors.tauMs = static_cast<float>((static_cast<double>(peak) + vertex.offset - centre) * lagMs);
    const double level = widthFraction * factors.iacc;
    const double left = crossing(iacf, peak, -1, level), right = crossing(iacf, peak, 1, level);
    if (std::isfinite(left) && std::isfinite(right)) factors.widthMs = static_cast<float>((right - left) * lagMs);
    return factors;
}

}  // namespace phonomir
