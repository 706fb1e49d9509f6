#include "phonomir/WaterfallRing.h"

#include <algorithm>

namespace phonomir {

void WaterfallRing::reset(int lines, int channels, int width) {
    lines_ = std::max(lines, 1);
    channels_ = std::max(channels, 1);
    width_ = std::max(width, 0);
    y_.assign(static_cast<std::size_t>(lines_) * channels_ * width_, 0.0f);
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

void WaterfallRing::commit() {
    writePos_ = (writePos_ + 1) % lines_;
    filled_ = std::min(filled_ + 1, lines_);
}

std::span<const float> WaterfallRing::line(int age, int channel) const {
    const int index = ((writePos_ - 1 - age) % lines_ + lines_) % lines_;
    const std::size_t offset = (static_cast<std::size_t>(index) * channels_ + channel) * width_;
    return {y_.data() + offset, static_cast<std::size_t>(width_)};
}

}  // namespace phonomir
