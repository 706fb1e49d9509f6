#include "phonomir/LevelMeterModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace phonomir {

void LevelMeterModel::setSize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

int LevelMeterModel::peak(const std::uint8_t* data, std::uint32_t bytes, const WaveFormat& format, int channel) {
    const std::uint32_t step = format.blockAlign();
    const std::uint32_t offset = static_cast<std::uint32_t>(channel) * (format.bitsPerSample / 8);
    if (data == nullptr || step == 0) return 0;
    int largest = 0;
    for (std::uint32_t at = offset; at + format.bitsPerSample / 8 <= bytes; at += step) {
        const int magnitude = format.bitsPerSample == 8
                                  ? std::abs(int{data[at]} - 128) * 256
                                  : std::abs(int{static_cast<std::int16_t>(data[at] | (data[at + 1] << 8))});
        largest = std::max(largest, magnitude);
    }
    return largest;
}

int LevelMeterModel::barLengthForPeak(int peak, int width) {
    if (peak <= 0) return 0;
    const double decibels = 20.0 * std::log10(peak / 32768.0);
    const int length = width - static_cast<int>(decibels * width * -0.0125);
    return std::max(length, 0);
}

MeterStrip LevelMeterModel::barArea(int channel) const {
    if (!twoChannels_) return {0, 0, width_, height_};
    const int middle = height_ / 2;
    return channel == 0 ? MeterStrip{0, 0, width_, middle} : MeterStrip{0, middle, width_, height_};
}

std::vector<MeterStrip> LevelMeterModel::showBuffer(const std::uint8_t* data, std::uint32_t bytes,
                                                    const WaveFormat& format) {
    const bool two = format.channels == 2;
    std::vector<MeterStrip> strips;
    if (two != twoChannels_) {
        twoChannels_ = two;
        strips.push_back({0, 0, width_, height_});
    }
    for (int channel = 0; channel < (two ? 2 : 1); ++channel) {
        const int length = barLengthForPeak(peak(data, bytes, format, channel), width_);
        int& old = lengths_[static_cast<std::size_t>(channel)];
        if (length != old) {
            const MeterStrip area = barArea(channel);
            strips.push_back({std::min(old, length), area.top, std::max(old, length), area.bottom});
        }
        old = length;
    }
    if (!two) lengths_[1] = 0;
    return strips;
}

void LevelMeterModel::clear() {
    lengths_ = {0, 0};
    twoChannels_ = false;
}

}  // namespace phonomir
