#include "phonomir/InterauralCorrelation.h"

#include "LaggedProducts.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace phonomir {
namespace {

bool avx2Available() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool available = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return available;
#else
    return false;
#endif
}

// Both builds compute the same exact sums.
void addLaggedProducts(const double* x, const double* y, std::int64_t count, int lags, int step, double* sums) {
#if defined(__x86_64__) || defined(__i386__)
    if (avx2Available()) return addLaggedProductsAvx2(x, y, count, lags, step, sums);
#endif
    addLaggedProductsKernel(x, y, count, lags, step, sums);
}

}  // namespace

bool InterauralCorrelation::begin(std::int64_t windowFrames, int maxLag, std::int64_t blockFrames) {
    end();
    if (windowFrames < 1 || blockFrames < 1 || maxLag < 0 || maxLag >= windowFrames) return false;
    windowFrames_ = windowFrames;
    blockFrames_ = blockFrames;
    maxLag_ = maxLag;
    // Room for D frames before the window, a run behind it and two windows more, so that the
    // window moves to the front at most once per two windows: on average half a copy of a frame.
    const std::int64_t capacity = 2 * maxLag + 3 * windowFrames + blockFrames;
    const std::int64_t blocks = windowFrames % blockFrames == 0 ? windowFrames / blockFrames + 1 : 0;
    storedBlocks_ = blocks * sumsPerBlock() <= kMostStoredSums ? static_cast<int>(blocks) : 0;
    try {
        left_.assign(static_cast<std::size_t>(capacity), 0.0);
        right_.assign(static_cast<std::size_t>(capacity), 0.0);
        sums_.assign(static_cast<std::size_t>(sumsPerBlock()), 0.0);
        scratch_.assign(static_cast<std::size_t>(sumsPerBlock()), 0.0);
        blockSums_.assign(static_cast<std::size_t>(storedBlocks_ * sumsPerBlock()), 0.0);
    } catch (const std::bad_alloc&) {
        end();
        return false;
    }
    restart();
    return true;
}

void InterauralCorrelation::end() {
    left_ = {};
    right_ = {};
    sums_ = {};
    scratch_ = {};
    blockSums_ = {};
    windowFrames_ = blockFrames_ = 0;
    maxLag_ = storedBlocks_ = 0;
}

// D silent frames stand before the first one, so that the pairs of the first frames reach back
// into silence instead of past the storage.
void InterauralCorrelation::restart() {
    std::fill(left_.begin(), left_.begin() + std::min<std::size_t>(left_.size(), maxLag_), 0.0);
    std::fill(right_.begin(), right_.begin() + std::min<std::size_t>(right_.size(), maxLag_), 0.0);
    base_ = -maxLag_;
    end_ = 0;
    std::fill(sums_.begin(), sums_.end(), 0.0);
    wholeBlocks_ = storedBlocks_ > 0;
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
    wholeBlocks_ = wholeBlocks_ && count == blockFrames_;
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

// Moves the window's frames, and the D before it, to the front when the run would not fit behind
// them. Every frame the next update reads lies there: D < N keeps the lagged partners close.
void InterauralCorrelation::makeRoom(std::int64_t frames) {
    if (slot(end_) + frames <= static_cast<std::int64_t>(left_.size())) return;
    const std::int64_t keep = std::max<std::int64_t>(base_, end_ - windowFrames_ - maxLag_);
    const auto from = static_cast<std::ptrdiff_t>(slot(keep)), to = static_cast<std::ptrdiff_t>(slot(end_));
    std::copy(left_.begin() + from, left_.begin() + to, left_.begin());
    std::copy(right_.begin() + from, right_.begin() + to, right_.begin());
    base_ = keep;
}

// The sums of the pairs whose later sample is one of frames first .. first + count - 1, into
// sums (sumsPerBlock values): S(k) of the right lags, S(-k) of the left ones, El, Er.
void InterauralCorrelation::pairsEndingIn(std::int64_t first, std::int64_t count, double* sums) const {
    const double* l = left_.data() + slot(first);
    const double* r = right_.data() + slot(first);
    const int lags = maxLag_ + 1;
    std::fill(sums, sums + sumsPerBlock(), 0.0);
    addLaggedProducts(r, l, count, lags, -1, sums + kRightLags);            // l[v - k] r[v]
    addLaggedProducts(l, r, count, lags, -1, sums + kRightLags + lags);     // l[v] r[v - k]
    addLaggedProducts(l, l, count, 1, -1, sums + 2 * lags);
    addLaggedProducts(r, r, count, 1, -1, sums + 2 * lags + 1);
}

void InterauralCorrelation::addPairsEndingIn(std::int64_t first, std::int64_t count) {
    double* sums = wholeBlocks_ ? blockSumsOf(first / blockFrames_) : scratch_.data();
    pairsEndingIn(first, count, sums);
    for (int i = 0; i < sumsPerBlock(); ++i) sums_[i] += sums[i];
}

// The pairs whose earlier sample is one of frames first .. first + count - 1. When the window
// moves by whole blocks these are the pairs its first block added, less those reaching back
// before it and plus those reaching into the next block: at most D pairs per lag each.
void InterauralCorrelation::dropPairsStartingIn(std::int64_t first, std::int64_t count) {
    if (count <= 0) return;
    if (wholeBlocks_ && count == blockFrames_) {
        const double* added = blockSumsOf(first / blockFrames_);
        for (int i = 0; i < sumsPerBlock(); ++i) sums_[i] -= added[i];
        correctBoundary(first, +1.0);
        correctBoundary(first + blockFrames_, -1.0);
        return;
    }
    const double* l = left_.data() + slot(first);
    const double* r = right_.data() + slot(first);
    const int lags = maxLag_ + 1;
    std::fill(scratch_.begin(), scratch_.end(), 0.0);
    addLaggedProducts(l, r, count, lags, 1, scratch_.data() + kRightLags);         // l[u] r[u + k]
    addLaggedProducts(r, l, count, lags, 1, scratch_.data() + kRightLags + lags);  // l[u + k] r[u]
    addLaggedProducts(l, l, count, 1, 1, scratch_.data() + 2 * lags);
    addLaggedProducts(r, r, count, 1, 1, scratch_.data() + 2 * lags + 1);
    for (int i = 0; i < sumsPerBlock(); ++i) sums_[i] -= scratch_[i];
}

// sign x the pairs whose later sample lies in frames at .. at + k - 1 and whose earlier one lies
// before `at`, for each lag k. With j the earlier frame's offset from `at` (-k .. -1), the pairs
// are l[j] r[j + k] and r[j] l[j + k]: the loop runs over j outside and k inside, so that the
// inner loop reads consecutive samples and vectorises. The sums are integers held exactly, so the
// order of the additions does not change them. Uses scratch_ (free on this path).
void InterauralCorrelation::correctBoundary(std::int64_t at, double sign) {
    const double* l = left_.data() + slot(at);
    const double* r = right_.data() + slot(at);
    const int lags = maxLag_ + 1;
    double* right = scratch_.data();
    double* left = scratch_.data() + lags;
    std::fill(right, right + 2 * lags, 0.0);
    for (int j = -maxLag_; j < 0; ++j) {
        const double lj = l[j], rj = r[j];
#pragma omp simd
        for (int k = -j; k < lags; ++k) {
            right[k] += lj * r[j + k];
            left[k] += rj * l[j + k];
        }
    }
    for (int k = 1; k < lags; ++k) {
        sums_[kRightLags + k] += sign * right[k];
        sums_[kRightLags + lags + k] += sign * left[k];
    }
}

double* InterauralCorrelation::blockSumsOf(std::int64_t block) {
    return blockSums_.data() + (block % storedBlocks_) * sumsPerBlock();
}

bool InterauralCorrelation::normalised(std::span<float> out) const {
    const int lags = maxLag_ + 1;
    const double scale = std::sqrt(sums_[2 * lags] * sums_[2 * lags + 1]);
    if (!(scale > 0) || !std::isfinite(scale) || out.size() < static_cast<std::size_t>(2 * maxLag_ + 1)) return false;
    out[maxLag_] = static_cast<float>(sums_[kRightLags] / scale);
    for (int k = 1; k <= maxLag_; ++k) {
        out[maxLag_ + k] = static_cast<float>(sums_[kRightLags + k] / scale);
        out[maxLag_ - k] = static_cast<float>(sums_[kRightLags + lags + k] / scale);
    }
    return true;
}

}  // namespace phonomir
