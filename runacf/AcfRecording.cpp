#include "phonomir/AcfRecording.h"

#include "phonomir/RunningAcfSizes.h"

#include <algorithm>
#include <cstdlib>

namespace phonomir {

std::int64_t AcfRecording::frameAt(double seconds) const {
    if (!(seconds > 0)) return 0;
    const double frame = seconds * sampleRate;
    if (frame >= static_cast<double>(frames())) return frames();
    return std::min(wholeCount(frame), frames());
}

ValueRange AcfRecording::valuesBetween(double start, double end) const {
    const auto k = static_cast<std::size_t>(channels);
    return {static_cast<std::size_t>(frameAt(start)) * k, static_cast<std::size_t>(frameAt(end)) * k};
}

bool AcfRecording::cut(double start, double end) {
    const ValueRange kept = valuesBetween(start, end);
    if (kept.empty()) return false;
    samples.erase(samples.begin() + static_cast<std::ptrdiff_t>(kept.end), samples.end());
    samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(kept.begin));
    updatePeak();
    return true;
}

void AcfRecording::updatePeak() { peak = peakOf(samples); }

int peakOf(std::span<const std::int16_t> samples) {
    int peak = 0;
    for (std::int16_t value : samples) peak = std::max(peak, std::abs(static_cast<int>(value)));
    return peak;
}

}  // namespace phonomir
