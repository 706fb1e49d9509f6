#include "phonomir/AutoRange.h"

#include "phonomir/OscilloscopeSettings.h"

#include <algorithm>
#include <cstdlib>

namespace phonomir {

int AutoRange::update(int peak, int exponent) {
    exponent = std::clamp(exponent, 0, OscilloscopeSettings::kMaxGainExponent);
    const int unitsPerDiv = 1 << exponent;
    if (peak > 4 * unitsPerDiv) {
        if (++counter_ > 9) return std::min(exponent + 1, OscilloscopeSettings::kMaxGainExponent);
    } else if (peak < 2 * unitsPerDiv) {
        if (++counter_ > 9) return std::max(exponent - 1, 0);
    } else {
        counter_ = 0;
    }
    return exponent;
}

int AutoRange::peakOf(std::span<const std::int16_t> interleaved, int channel, int channels) {
    int peak = 0;
    for (std::size_t i = channel; i < interleaved.size(); i += channels)
        peak = std::max(peak, std::abs(static_cast<int>(interleaved[i])));
    return peak;
}

}  // namespace phonomir
