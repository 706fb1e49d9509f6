#include "phonomir/WaterfallRing.h"

#include <algorithm>

namespace phonomir {

void WaterfallRing::reset(int lines, int channels, int width) {
    lines_ = std::max(lines, 1);
    channels_ = std::max(channels, 1);
    width_ = std::max(width, 0);
    y_.assign(static_cast<std::size_t>(lines_) * channels_ * width_, 0.0f);
    stamps_.assign(static_cast<std::size_t>(lines_), 0);
    clear();
}

void WaterfallRing::clear() {
    writePos_ = 0;
    filled_ = 0;
}

std::span<float> WaterfallRing::nextLine(int channel) {
    const std::size_t offset = (static_cast<std::size_t>(writePos_) * channels_ + channel) * width_;
    return {y_.data() + offset, static_cast<std::size_t>(width_)};
}

void WaterfallRing::commit(std::int64_t stamp) {
    stamps_[static_cast<std::size_t>(writePos_)] = stamp;
    writePos_ = (writePos_ + 1) % lines_;
    filled_ = std::min(filled_ + 1, lines_);
}

std::span<const float> WaterfallRing::line(int age, int channel) const {
    const std::size_t offset = (static_cast<std::size_t>(indexOf(age)) * channels_ + channel) * width_;
    return {y_.data() + offset, static_cast<std::size_t>(width_)};
}

std::int64_t WaterfallRing::stamp(int age) const { return stamps_[static_cast<std::size_t>(indexOf(age))]; }

}  // namespace phonomir
