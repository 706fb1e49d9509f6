// The arithmetic of a two-bar peak level meter: the peak of each channel of a buffer, its bar
// length in pixels over -80 dB (empty) .. 0 dB (full), and the strips that changed since the
// last buffer so that only they are repainted. The drawing itself lives in the widget.
// UI thread only.
#pragma once

#include "phonomir/WaveFormat.h"

#include <array>
#include <cstdint>
#include <vector>

namespace phonomir {

struct MeterStrip {
    int left, top, right, bottom;  // pixels, right and bottom exclusive
};

class LevelMeterModel {
public:
    void setSize(int width, int height);
    // Takes one buffer; returns the strips to repaint.
    std::vector<MeterStrip> showBuffer(const std::uint8_t* data, std::uint32_t bytes, const WaveFormat& format);
    // All bars empty, one channel; the whole meter needs repainting.
    void clear();

    int width() const { return width_; }
    int height() const { return height_; }
    int barLength(int channel) const { return lengths_[static_cast<std::size_t>(channel)]; }
    bool twoChannels() const { return twoChannels_; }
    // The rows channel `channel` occupies: the whole height with one channel, else half each.
    MeterStrip barArea(int channel) const;

    // Largest magnitude of one channel: 16-bit signed, or |b - 128| x 256 for 8-bit samples.
    static int peak(const std::uint8_t* data, std::uint32_t bytes, const WaveFormat& format, int channel);
    // width x (1 + dB / 80), dB = 20 log10(peak / 32768); 0 for a peak of 0 or a negative length.
    static int barLengthForPeak(int peak, int width);

private:
    int width_ = 0, height_ = 0;
    std::array<int, 2> lengths_{};
    bool twoChannels_ = false;
};

}  // namespace phonomir
