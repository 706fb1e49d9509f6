#include "phonomir/TriggerDetector.h"

#include <cmath>

namespace phonomir {

void TriggerDetector::reset() {
    previousValue_ = 0;
    autoCountdown_ = 0;
    singleTriggered_ = false;
}

bool TriggerDetector::crosses(int old, int x, int threshold, bool descent) {
    return descent ? (old > threshold && threshold >= x) : (old < threshold && threshold <= x);
}

TriggerEvent TriggerDetector::detect(int sample, int threshold, double dcEstimate,
                                     const TriggerOptions& options) {
    int x = sample;
    if (options.highcut) x = (x + 3 * previousValue_) / 4;
    if (options.lowcut) x -= static_cast<int>(std::trunc(dcEstimate));
    const int old = previousValue_;
    previousValue_ = x;
    if (options.singleMode && singleTriggered_) return {};
    if (!crosses(old, x, threshold, options.descent)) return countDownAutoTrigger(options);
    autoCountdown_ = options.sweepSamples * 10;
    if (options.singleMode) singleTriggered_ = true;
    // x != old on a crossing, so the division is safe; the result lies in [0, 1).
    return {true, static_cast<double>(x - threshold) / (x - old)};
}

TriggerEvent TriggerDetector::countDownAutoTrigger(const TriggerOptions& options) {
    if (!options.autoTrigger || options.singleMode) return {};
    if (--autoCountdown_ >= 0) return {};
    autoCountdown_ = options.sweepSamples / 4;
    return {true, 0.0};
}

}  // namespace phonomir
