#include "phonomir/InterauralCorrelation.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace phonomir {
namespace {

// sums[k] += x[0] y[s k] + ... + x[count - 1] y[count - 1 + s k] for k = 0 .. lags - 1, s = step
// (+1 or -1). Four lags at a time share each load of x. The values are 16-bit samples, so every
// product and every sum below 2^53 is an integer held exactly: the order of the additions (which
// the vectorised loops choose) does not change the result.
void addLaggedProducts(const double* x, const double* y, std::int64_t count, int lags, int step, double* sums) {
    int k = 0;
    for (; k + 4 <= lags; k += 4) {
        const double *y0 = y + step * k, *y1 = y0 + step, *y2 = y1 + step, *y3 = y2 + step;
        double a0 = 0, a1 = 0, a2 = 0, a3 = 0;
#pragma omp simd reduction(+ : a0, a1, a2, a3)
        for (std::int64_t i = 0; i < count; ++i) {
            const double v = x[i];
            a0 += v * y0[i];
            a1 += v * y1[i];
            a2 += v * y2[i];
            a3 += v * y3[i];
        }
        sums[k] += a0;
        sums[k + 1] += a1;
        sums[k + 2] += a2;
        sums[k + 3] += a3;
    }
    for (; k < lags; ++k) {
        const double* yk = y + step * k;
        double a = 0;
#pragma omp simd reduction(+ : a)
        for (std::int64_t i = 0; i < count; ++i) a += x[i] * yk[i];
        sums[k] += a;
    }
}

}  // namespace

bool InterauralCorrelation::begin(std::int64_t windowFrames, int maxLag, std::int64_t blockFrames) {
    end();
    if (windowFrames < 1 || blockFrames < 1 || maxLag < 0 || maxLag >= windowFrames) return false;
    // Room for a run behind the window and half a window more, so that the window moves to the
    // front at most once per half window: on average at most two copies of each frame.
    const std::int64_t capacity = maxLag + windowFrames + blockFrames + windowFrames / 2;
    try {
        left_.assign(static_cast<std::size_t>(capacity), 0.0);
        right_.assign(static_cast<std::size_t>(capacity), 0.0);
        rightLags_.assign(maxLag + 1, 0.0);
        leftLags_.assign(maxLag + 1, 0.0);
        scratch_.assign(maxLag + 1, 0.0);
    } catch (const std::bad_alloc&) {
        end();
        return false;
    }
    windowFrames_ = windowFrames;
    blockFrames_ = blockFrames;
    maxLag_ = maxLag;
    restart();
    return true;
}

void InterauralCorrelation::end() {
    left_ = {};
    right_ = {};
    rightLags_ = {};
    leftLags_ = {};
    scratch_ = {};
    windowFrames_ = blockFrames_ = 0;
    maxLag_ = 0;
}

// D silent frames stand before the first one, so that the pairs of the first frames reach back
// into silence instead of past the storage.
void InterauralCorrelation::restart() {
    std::fill(left_.begin(), left_.begin() + std::min<std::size_t>(left_.size(), maxLag_), 0.0);
    std::fill(right_.begin(), right_.begin() + std::min<std::size_t>(right_.size(), maxLag_), 0.0);
    base_ = -maxLag_;
    end_ = 0;
    std::fill(rightLags_.begin(), rightLags_.end(), 0.0);
    std::fill(leftLags_.begin(), leftLags_.end(), 0.0);
    energyLeft_ = energyRight_ = 0.0;
}

void InterauralCorrelation::append(std::span<const std::int16_t> interleaved) {
    if (!begun()) return;
    const auto frames = static_cast<std::int64_t>(interleaved.size() / 2);
    for (std::int64_t first = 0; first < frames; first += blockFrames_) {
        const std::int64_t count = std::min(blockFrames_, frames - first);
        appendRun(interleaved.subspan(static_cast<std::size_t>(2 * first), static_cast<std::size_t>(2 * count)));
    }
}

// The window [start, end_) grows by the run at its end, then gives up what fell out at its start.
void InterauralCorrelation::appendRun(std::span<const std::int16_t> interleaved) {
    const auto count = static_cast<std::int64_t>(interleaved.size() / 2);
    const std::int64_t start = std::max<std::int64_t>(0, end_ - windowFrames_);
    makeRoom(count);
    const std::int64_t at = slot(end_);
    for (std::int64_t i = 0; i < count; ++i) {
        left_[at + i] = interleaved[2 * i];
        right_[at + i] = interleaved[2 * i + 1];
    }
    addPairsEndingIn(end_, count);
    end_ += count;
    const std::int64_t newStart = std::max<std::int64_t>(0, end_ - windowFrames_);
    dropPairsStartingIn(start, newStart - start);
}

// Moves the window's frames to the front when the run would not fit behind them. Every frame the
// next update reads lies in the window: D < N keeps the lagged partners inside it.
void InterauralCorrelation::makeRoom(std::int64_t frames) {
    if (slot(end_) + frames <= static_cast<std::int64_t>(left_.size())) return;
    const std::int64_t keep = std::max<std::int64_t>(0, end_ - windowFrames_);
    const auto from = static_cast<std::ptrdiff_t>(slot(keep)), to = static_cast<std::ptrdiff_t>(slot(end_));
    std::copy(left_.begin() + from, left_.begin() + to, left_.begin());
    std::copy(right_.begin() + from, right_.begin() + to, right_.begin());
    base_ = keep;
}

// The pairs whose later sample is one of frames first .. first + count - 1.
void InterauralCorrelation::addPairsEndingIn(std::int64_t first, std::int64_t count) {
    const double* l = left_.data() + slot(first);
    const double* r = right_.data() + slot(first);
    const int lags = maxLag_ + 1;
    std::fill(scratch_.begin(), scratch_.end(), 0.0);
    addLaggedProducts(r, l, count, lags, -1, scratch_.data());  // l[v - k] r[v]
    for (int k = 0; k < lags; ++k) rightLags_[k] += scratch_[k];
    std::fill(scratch_.begin(), scratch_.end(), 0.0);
    addLaggedProducts(l, r, count, lags, -1, scratch_.data());  // l[v] r[v - k]
    for (int k = 1; k < lags; ++k) leftLags_[k] += scratch_[k];
    double energy[2] = {0.0, 0.0};
    addLaggedProducts(l, l, count, 1, -1, energy);
    addLaggedProducts(r, r, count, 1, -1, energy + 1);
    energyLeft_ += energy[0];
    energyRight_ += energy[1];
}

// The pairs whose earlier sample is one of frames first .. first + count - 1.
void InterauralCorrelation::dropPairsStartingIn(std::int64_t first, std::int64_t count) {
    if (count <= 0) return;
    const double* l = left_.data() + slot(first);
    const double* r = right_.data() + slot(first);
    const int lags = maxLag_ + 1;
    std::fill(scratch_.begin(), scratch_.end(), 0.0);
    addLaggedProducts(l, r, count, lags, 1, scratch_.data());  // l[u] r[u + k]
    for (int k = 0; k < lags; ++k) rightLags_[k] -= scratch_[k];
    std::fill(scratch_.begin(), scratch_.end(), 0.0);
    addLaggedProducts(r, l, count, lags, 1, scratch_.data());  // l[u + k] r[u]
    for (int k = 1; k < lags; ++k) leftLags_[k] -= scratch_[k];
    double energy[2] = {0.0, 0.0};
    addLaggedProducts(l, l, count, 1, 1, energy);
    addLaggedProducts(r, r, count, 1, 1, energy + 1);
    energyLeft_ -= energy[0];
    energyRight_ -= energy[1];
}

bool InterauralCorrelation::normalised(std::span<float> out) const {
    const double scale = std::sqrt(energyLeft_ * energyRight_);
    if (!(scale > 0) || !std::isfinite(scale) || out.size() < static_cast<std::size_t>(2 * maxLag_ + 1)) return false;
    out[maxLag_] = static_cast<float>(rightLags_[0] / scale);
    for (int k = 1; k <= maxLag_; ++k) {
        out[maxLag_ + k] = static_cast<float>(rightLags_[k] / scale);
        out[maxLag_ - k] = static_cast<float>(leftLags_[k] / scale);
    }
    return true;
}

}  // namespace phonomir
