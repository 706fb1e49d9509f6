#include "phonomir/AcfFrameHistory.h"

#include <algorithm>

namespace phonomir {

void AcfFrameHistory::setLayout(int capacity, int lags) {
    capacity_ = std::max(capacity, 1);
    lags_ = std::max(lags, 0);
    values_.assign(static_cast<std::size_t>(capacity_) * lags_, 0.0f);
    times_.assign(capacity_, 0.0);
    resetFrames();
}

void AcfFrameHistory::resetFrames() {
    count_ = next_ = 0;
    received_ = 0;
}

void AcfFrameHistory::acceptFrame(const AcfFrame& frame) {
    if (capacity_ == 0) return;
    decimatedRate_ = frame.decimatedRate;
    const std::size_t n = std::min<std::size_t>(frame.phi.size() / 2, static_cast<std::size_t>(lags_));
    float* slot = values_.data() + static_cast<std::size_t>(next_) * lags_;
    std::copy_n(frame.phi.begin(), n, slot);
    std::fill(slot + n, slot + lags_, 0.0f);
    times_[next_] = frame.endTime;
    next_ = (next_ + 1) % capacity_;
    count_ = std::min(count_ + 1, capacity_);
    ++received_;
}

std::span<const float> AcfFrameHistory::frame(int i) const {
    return {values_.data() + static_cast<std::size_t>(slotOf(i)) * lags_, static_cast<std::size_t>(lags_)};
}

double AcfFrameHistory::endTime(int i) const { return times_[slotOf(i)]; }

}  // namespace phonomir
