#include "phonomir/WaveformViewWindow.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

void WaveformViewWindow::setDuration(double duration) {
    duration_ = std::isfinite(duration) && duration > 0 ? duration : 0.0;
    setWindow(position_, width_);
}

// W = 0 (or anything not a positive number) means the whole recording.
void WaveformViewWindow::setWindow(double position, double width) {
    if (!(width > 0) || !std::isfinite(width)) width = duration_;
    width_ = std::min(std::max(width, kMinimumWidth), std::max(duration_, kMinimumWidth));
    if (duration_ <= 0) width_ = 0.0;
    setPosition(position);
}

void WaveformViewWindow::setPosition(double position) {
    const double last = std::max(0.0, duration_ - width_);
    position_ = std::isfinite(position) ? std::clamp(position, 0.0, last) : 0.0;
}

void WaveformViewWindow::pan(int dx, int plotWidth) {
    if (plotWidth > 0) setPosition(position_ - static_cast<double>(dx) / plotWidth * width_);
}

int WaveformViewWindow::scrollPage() const {
    return duration_ > 0 ? static_cast<int>(width_ / duration_ * kScrollRange) : kScrollRange;
}

int WaveformViewWindow::scrollPosition() const {
    return duration_ > 0 ? static_cast<int>(position_ / duration_ * kScrollRange) : 0;
}

}  // namespace phonomir
