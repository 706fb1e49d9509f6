// Phi(0), Wphi(0), tau1 and phi1 of a frame, and the factors of a frame together.
#include "phonomir/AcfFactors.h"

#include "PeakVertex.h"
#include "phonomir/RunningAcfSizes.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace phonomir {
namespace {

constexpr double kFullScaleSineMeanSquare = 32767.0 * 32767.0 / 2.0;

// First j >= from with phi[j-1] > phi[j] <= phi[j+1]; phi.size() when there is none.
std::size_t firstMinimum(std::span<const float> phi, std::size_t from) {
    for (std::size_t j = std::max<std::size_t>(from, 1); j + 1 < phi.size(); ++j)
        if (phi[j - 1] > phi[j] && phi[j] <= phi[j + 1]) return j;
    return phi.size();
}

// First k >= from with phi[k-1] < phi[k] >= phi[k+1]; phi.size() when there is none.
std::size_t firstMaximum(std::span<const float> phi, std::size_t from) {
    for (std::size_t k = std::max<std::size_t>(from, 1); k + 1 < phi.size(); ++k)
        if (phi[k - 1] < phi[k] && phi[k] >= phi[k + 1]) return k;
    return phi.size();
}

}  // namespace

bool operator==(const AcfFactors& a, const AcfFactors& b) {
    const auto same = [](float x, float y) { return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y); };
    return a.time == b.time && same(a.phi0Db, b.phi0Db) && same(a.widthMs, b.widthMs) && same(a.tau1Ms, b.tau1Ms) &&
           same(a.phi1, b.phi1) && same(a.taueMs, b.taueMs) && same(a.fit.firstMs, b.fit.firstMs) &&
           same(a.fit.lastMs, b.fit.lastMs) && a.fit.peaks == b.fit.peaks && same(a.fit.r, b.fit.r) &&
           a.fit.poor == b.fit.poor && same(a.iacc, b.iacc) && same(a.tauIaccMs, b.tauIaccMs) &&
           same(a.wIaccMs, b.wIaccMs);
}

int acfFactorLags(int fftSize, int frameLength) {
    if (fftSize < 2) return 0;
    return std::clamp(fftSize - frameLength + 1, 0, fftSize / 2);
}

float zeroLagPeakWidthMs(std::span<const float> phi, double lagMs, double level) {
    for (std::size_t j = 1; j < phi.size(); ++j) {
        if (phi[j] > level) continue;
        const double before = phi[j - 1], after = phi[j];
        const double crossing = static_cast<double>(j - 1) + (before - level) / (before - after);
        return static_cast<float>(2.0 * crossing * lagMs);
    }
    return kAbsent;
}

FirstPeak firstPeakAfterMinimum(std::span<const float> phi, double lagMs) {
    const std::size_t k = firstMaximum(phi, firstMinimum(phi, 1) + 1);
    if (k >= phi.size()) return {};
    const PeakVertex vertex = peakVertex(phi[k - 1], phi[k], phi[k + 1]);
    return {static_cast<float>((static_cast<double>(k) + vertex.offset) * lagMs), static_cast<float>(vertex.height)};
}

AcfFactors acfFactorsOf(const AcfFrame& frame, const AcfFactorParameters& parameters) {
    AcfFactors factors;
    factors.time = frame.endTime;
    if (!(frame.meanSquare > 0) || !(frame.decimatedRate > 0)) return factors;
    factors.phi0Db = static_cast<float>(10.0 * std::log10(frame.meanSquare / kFullScaleSineMeanSquare));
    const int lags = acfFactorLags(static_cast<int>(frame.phi.size()), frame.frameLength);
    const std::span<const float> phi = frame.phi.first(static_cast<std::size_t>(lags));
    const double lagMs = 1000.0 / frame.decimatedRate;
    factors.widthMs = zeroLagPeakWidthMs(phi, lagMs, parameters.halfLevel);
    const FirstPeak peak = firstPeakAfterMinimum(phi, lagMs);
    factors.tau1Ms = peak.tauMs;
    factors.phi1 = peak.height;
    const EffectiveDuration duration = effectiveDuration(phi, lagMs, parameters);
    factors.taueMs = duration.taueMs;
    factors.fit = duration.fit;
    if (!frame.interaural.empty()) {
        const double interauralLagMs = lagMs / kAcfDecimation;
        const InterauralFactors interaural = interauralFactorsOf(frame.interaural, interauralLagMs, parameters.iaccWidthFraction);
        factors.iacc = interaural.iacc;
        factors.tauIaccMs = interaural.tauMs;
        factors.wIaccMs = interaural.widthMs;
    }
    return factors;
}

}  // namespace phonomir
