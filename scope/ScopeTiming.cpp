#include "phonomir/ScopeTiming.h"

#include "phonomir/SweepTimeTable.h"

#include <algorithm>
#include <array>

namespace phonomir {

double delayMilliseconds(int delayRangeIndex, int delayPosition) {
    static constexpr std::array<double, 4> kRangeMs = {1, 10, 100, 1000};
    return kRangeMs[std::clamp(delayRangeIndex, 0, 3)] * std::clamp(delayPosition, 0, 100) * 0.01;
}

ScopeTiming ScopeTiming::compute(const OscilloscopeSettings& settings, int rateHz, int delayPosition) {
    const OscilloscopeSettings s = settings.clampedToRanges();
    ScopeTiming t;
    t.rateHz = std::clamp(rateHz, 16, 48000);
    t.blockFrames = t.rateHz / 16;
    const double sweepTime = sweepTimeSeconds(s.sweepTimeIndex);
    t.msPerDiv = sweepTime * 1000;
    // At least one frame per sweep, so that no later division by sweepSamples can fail.
    t.sweepSamples = std::max(1, static_cast<int>(t.rateHz * sweepTime * kDivisionsAcross));
    t.delayMs = delayMilliseconds(s.delayRangeIndex, delayPosition);
    t.delaySamples = static_cast<int>(t.rateHz * t.delayMs * 0.001);
    return t;
}

}  // namespace phonomir
