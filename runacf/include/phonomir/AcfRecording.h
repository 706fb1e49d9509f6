// A recording of the Running ACF window: interleaved 16-bit samples (left first) with their
// rate, channel count and time of measurement, and the pieces of it that replay, cut and
// selection take. Positions in seconds become frame offsets as trunc(seconds x fs) (counted
// exactly for decimal entries) and then values as frames x channels, so that an offset always
// falls on a frame boundary and never swaps left and right. Plain data; UI thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace phonomir {

struct ValueRange {
    std::size_t begin = 0, end = 0;  // values (samples x channels), end exclusive
    bool empty() const { return end <= begin; }
};

struct AcfRecording {
    std::vector<std::int16_t> samples;  // interleaved, left first
    int sampleRate = 44100;             // Hz
    int channels = 1;                   // 1 or 2
    std::string time;                   // time of measurement, "YYYYMMDDhhmmss" local time
    int peak = 0;                       // largest absolute sample value, 0 .. 32768

    bool empty() const { return samples.empty(); }
    std::int64_t frames() const { return static_cast<std::int64_t>(samples.size()) / channels; }
    double duration() const { return static_cast<double>(frames()) / sampleRate; }  // seconds

    // Frame at `seconds`: trunc(seconds x fs) within 0 .. frames().
    std::int64_t frameAt(double seconds) const;
    // The values from `start` to `end` seconds, each limited to the stored values.
    ValueRange valuesBetween(double start, double end) const;
    // Keeps only the values from `start` to `end` seconds; false (and nothing changes) when that
    // leaves nothing. The peak follows.
    bool cut(double start, double end);
    void updatePeak();
};

// Largest absolute value of the samples (32768 for -32768).
int peakOf(std::span<const std::int16_t> samples);

}  // namespace phonomir
