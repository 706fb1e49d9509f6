// tau_e: a straight line through the levels of the initial peaks of |phi|, extended to the
// decay target.
#include "phonomir/AcfFactors.h"

#include "PeakVertex.h"

#include <cmath>

namespace phonomir {
namespace {

// Sums of a least-squares line y = a + b x and its correlation coefficient.
struct LineFit {
    int count = 0;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;

    void add(double x, double y) {
        ++count;
        sx += x;
        sy += y;
        sxx += x * x;
        syy += y * y;
        sxy += x * y;
    }
    double covariance() const { return sxy - sx * sy / count; }
    double varianceX() const { return sxx - sx * sx / count; }
    double varianceY() const { return syy - sy * sy / count; }
    double slope() const { return covariance() / varianceX(); }
    double intercept() const { return (sy - slope() * sx) / count; }
};

struct Peak {
    double delayMs = 0;
    double levelDb = 0;
};

// The peaks of |phi| one after the other: the origin, then each local maximum after it.
class PeakWalk {
public:
    PeakWalk(std::span<const float> phi, double lagMs) : phi_(phi), lagMs_(lagMs) {}

    bool next(Peak& peak) {
        if (j_ == 0) {
            j_ = 1;
            peak = {0.0, 0.0};
            return !phi_.empty();
        }
        for (; j_ + 1 < phi_.size(); ++j_) {
            const double before = std::abs(phi_[j_ - 1]), at = std::abs(phi_[j_]), after = std::abs(phi_[j_ + 1]);
            if (!(before < at && at >= after)) continue;
            const PeakVertex vertex = peakVertex(before, at, after);
            peak = {(static_cast<double>(j_) + vertex.offset) * lagMs_, 10.0 * std::log10(vertex.height)};
            ++j_;
            return true;
        }
        return false;
    }

private:
    std::span<const float> phi_;
    double lagMs_;
    std::size_t j_ = 0;
};

}  // namespace

EffectiveDuration effectiveDuration(std::span<const float> phi, double lagMs, const AcfFactorParameters& p) {
    PeakWalk walk(phi, lagMs);
    LineFit line;
    EffectiveDuration result;
    Peak peak;
    bool started = false;
    while (walk.next(peak)) {
        started = started || peak.levelDb <= p.fitStartDb;
        if (!started) continue;
        const bool inRange = peak.levelDb >= p.fitEndDb;
        if (!inRange && line.count >= 2) break;
        if (line.count == 0) result.fit.firstMs = static_cast<float>(peak.delayMs);
        result.fit.lastMs = static_cast<float>(peak.delayMs);
        line.add(peak.delayMs, peak.levelDb);
        if (!inRange) break;
    }
    result.fit.peaks = line.count;
    if (line.count < 2) return {};
    if (line.varianceX() > 0 && line.varianceY() > 0)
        result.fit.r = static_cast<float>(std::abs(line.covariance()) / std::sqrt(line.varianceX() * line.varianceY()));
    result.fit.poor = !(result.fit.r >= p.minimumFitR);
    const double slope = line.slope();
    if (slope < 0) {
        const double taue = (p.decayTargetDb - line.intercept()) / slope;
        if (taue > 0 && std::isfinite(taue)) result.taueMs = static_cast<float>(taue);
    }
    return result;
}

}  // namespace phonomir
