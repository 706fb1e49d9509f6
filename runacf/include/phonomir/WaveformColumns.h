// The waveform view's trace: for each pixel column, the smallest and largest value of the shown
// channel among the frames that the column covers (at least the one frame at its left edge).
// Plain arithmetic, no Qt.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace phonomir {

struct ColumnExtremes {
    std::int16_t low = 0, high = 0;
    bool any = false;  // false past the end of the recording
};

struct WaveformSlice {
    std::span<const std::int16_t> samples;  // interleaved
    int channels = 1;
    int channel = 0;                        // shown channel, 0 left
    int sampleRate = 44100;                 // Hz
    double position = 0.0;                  // P, s: the time at the left edge
    double width = 0.0;                     // W, s: the time across all columns
};

void waveformColumns(const WaveformSlice& slice, int columns, std::vector<ColumnExtremes>& out);

}  // namespace phonomir
