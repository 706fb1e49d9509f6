#include "phonomir/WaveformColumns.h"

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

std::int64_t frameAtTime(double seconds, int sampleRate) {
    const double frame = std::floor(seconds * sampleRate);
    return frame > 0 ? static_cast<std::int64_t>(std::min(frame, 9.0e18)) : 0;
}

}  // namespace

void waveformColumns(const WaveformSlice& slice, int columns, std::vector<ColumnExtremes>& out) {
    out.assign(static_cast<std::size_t>(std::max(columns, 0)), ColumnExtremes{});
    if (columns < 1 || slice.channels < 1 || !(slice.width > 0) || slice.sampleRate < 1) return;
    const int channel = std::clamp(slice.channel, 0, slice.channels - 1);
    const auto frames = static_cast<std::int64_t>(slice.samples.size()) / slice.channels;
    const double secondsPerColumn = slice.width / columns;
    for (int x = 0; x < columns; ++x) {
        const std::int64_t first = frameAtTime(slice.position + x * secondsPerColumn, slice.sampleRate);
        if (first >= frames) break;
        const std::int64_t last = std::clamp(frameAtTime(slice.position + (x + 1) * secondsPerColumn, slice.sampleRate),
                                             first + 1, frames);
        std::int16_t low = slice.samples[first * slice.channels + channel], high = low;
        for (std::int64_t f = first + 1; f < last; ++f) {
            const std::int16_t v = slice.samples[f * slice.channels + channel];
            low = std::min(low, v);
            high = std::max(high, v);
        }
        out[x] = {low, high, true};
    }
}

}  // namespace phonomir
