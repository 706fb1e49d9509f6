#include "phonomir/RunningAcfSizes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace phonomir {

std::int64_t wholeCount(double value) {
    if (!std::isfinite(value) || value < 0 || value >= std::numeric_limits<std::int32_t>::max()) return 0;
    const double nearest = std::nearbyint(value);
    if (std::abs(value - nearest) <= 1e-9 * std::max(1.0, nearest)) return static_cast<std::int64_t>(nearest);
    return static_cast<std::int64_t>(value);
}

int acfFrameLength(double sampleRate, double integrationTime) {
    return static_cast<int>(wholeCount(sampleRate * integrationTime / kAcfDecimation));
}

int acfFftSize(int frameLength) {
    if (frameLength < 1 || frameLength > kMaxAcfFftSize) return 0;
    int size = 1;
    while (size < frameLength) size *= 2;
    return size;
}

std::int64_t acfStepFrames(double sampleRate, double runningStep) { return wholeCount(sampleRate * runningStep); }

std::int64_t acfFrameCount(double sampleRate, double integrationTime, double runningStep,
                           std::int64_t framesPerChannel) {
    const std::int64_t n = acfFrameLength(sampleRate, integrationTime);
    const std::int64_t step = acfStepFrames(sampleRate, runningStep);
    const std::int64_t perBlock = step / kAcfDecimation;
    if (n < 1 || perBlock < 1 || framesPerChannel < 1) return 0;
    const std::int64_t blocks = framesPerChannel / step;
    const std::int64_t blocksBeforeFirstFrame = (n + perBlock - 1) / perBlock - 1;
    return std::max<std::int64_t>(0, blocks - blocksBeforeFirstFrame);
}

}  // namespace phonomir
