#include "phonomir/RunningAcfSizes.h"

#include <cmath>
#include <limits>

namespace phonomir {
namespace {

// trunc(value) when it is finite and within 0 .. 2^31 - 1, else 0.
std::int64_t truncatedCount(double value) {
    if (!std::isfinite(value) || value < 0 || value >= std::numeric_limits<std::int32_t>::max()) return 0;
    return static_cast<std::int64_t>(value);
}

}  // namespace

int acfFrameLength(double sampleRate, double integrationTime) {
    return static_cast<int>(truncatedCount(sampleRate * integrationTime * 0.1));
}

int acfFftSize(int frameLength) {
    if (frameLength < 1 || frameLength > kMaxAcfFftSize) return 0;
    int size = 1;
    while (size < frameLength) size *= 2;
    return size;
}

std::int64_t acfStepFrames(double sampleRate, double runningStep) {
    return truncatedCount(sampleRate * runningStep);
}

}  // namespace phonomir
