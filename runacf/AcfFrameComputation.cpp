// RunningAcfAnalyzer's frame: ring -> FFT -> weighting -> power spectrum without DC -> inverse
// FFT -> normalisation by the zero-lag value.
#include "phonomir/RunningAcfAnalyzer.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

void RunningAcfAnalyzer::computeFrame() {
    loadRing();
    if (fft_.forwardFft(fftSize_, re_.data(), im_.data()) != 0) return;
    applyWeighting();
    replaceByPowerSpectrum();
    if (fft_.inverseFft(fftSize_, re_.data(), im_.data()) != 0) return;
    normalise();
    sink_.acceptFrame({std::span<const float>(re_), decimatedRate()});
}

// Oldest sample first, zero-padded to M; imaginary part cleared.
void RunningAcfAnalyzer::loadRing() {
    const auto oldest = ring_.begin() + ringPos_;
    const auto afterOldest = std::copy(oldest, ring_.end(), re_.begin());
    const auto afterRing = std::copy(ring_.begin(), oldest, afterOldest);
    std::fill(afterRing, re_.end(), 0.0f);
    std::fill(im_.begin(), im_.end(), 0.0f);
}

void RunningAcfAnalyzer::applyWeighting() {
    for (int k = 0; k < fftSize_; ++k) {
        re_[k] *= weight_[k];
        im_[k] *= weight_[k];
    }
}

// For a real input, bins i and M-i together give P = 4 |X_i|^2; it is stored in both, which
// makes the spectrum real and even, so the inverse transform is the (circular) ACF. The DC bin
// is dropped, removing the frame's mean.
void RunningAcfAnalyzer::replaceByPowerSpectrum() {
    const int m = fftSize_;
    for (int i = 1; i <= m / 2; ++i) {
        const float imDiff = im_[i] - im_[m - i];
        const float reSum = re_[i] + re_[m - i];
        const float power = imDiff * imDiff + reSum * reSum;
        re_[i] = re_[m - i] = power;
    }
    re_[0] = 0.0f;
    std::fill(im_.begin(), im_.end(), 0.0f);
}

void RunningAcfAnalyzer::normalise() {
    const float zeroLag = re_[0];
    if (!(zeroLag > 0.0f) || !std::isfinite(zeroLag)) {
        std::fill(re_.begin(), re_.end(), 0.0f);  // no power: uncorrelated by convention
        re_[0] = 1.0f;
        return;
    }
    for (float& value : re_) value /= zeroLag;
    re_[0] = 1.0f;
}

}  // namespace phonomir
