// RunningAcfAnalyzer's frame: ring -> FFT -> weighting -> power spectrum without DC -> inverse
// FFT -> normalisation by the zero-lag value.
#include "phonomir/RunningAcfAnalyzer.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

void RunningAcfAnalyzer::computeFrame() {
    if (fftSize_ >= 8)
        computeFrameHalfSize();
    else
        computeFrameFullSize();
}

void RunningAcfAnalyzer::computeFrameFullSize() {
    loadRing();
    if (fft_.forwardFft(fftSize_, re_.data(), im_.data()) != 0) return;
    applyWeighting();
    replaceByPowerSpectrum();
    if (fft_.inverseFft(fftSize_, re_.data(), im_.data()) != 0) return;
    normalise(re_);
    deliver(re_);
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

void RunningAcfAnalyzer::normalise(std::vector<float>& acf) {
    const float zeroLag = acf[0];
    if (!(zeroLag > 0.0f) || !std::isfinite(zeroLag)) {
        std::fill(acf.begin(), acf.end(), 0.0f);  // no power: uncorrelated by convention
        acf[0] = 1.0f;
        zeroLag_ = 0.0;
        return;
    }
    zeroLag_ = zeroLag;
    const float scale = 1.0f / zeroLag;
    for (float& value : acf) value *= scale;
    acf[0] = 1.0f;
}

// A real frame x of M points travels as z[m] = x[2m] + i x[2m+1] through an M/2-point
// transform; its spectrum is then X[k] = E[k] + e^(-2 pi i k/M) O[k] with
// E[k] = (Z[k] + conj Z[M/2-k]) / 2 and O[k] = (Z[k] - conj Z[M/2-k]) / 2i. The ACF comes back
// the same way: from the real, even power spectrum P, A[k] = P[k] + P[M/2-k] and
// B[k] = (P[k] - P[M/2-k]) e^(+2 pi i k/M) give r[2m] + i r[2m+1] = inverse(A + iB)[m].
// Both directions are unscaled like the full transforms, so r is the same circular ACF.
void RunningAcfAnalyzer::computeFrameHalfSize() {
    const int half = fftSize_ / 2;
    loadRingAsPairs();
    if (fft_.forwardFft(half, re_.data(), im_.data()) != 0) return;
    powerFromHalfSpectrum();
    inverseOfEvenPower();
    if (fft_.inverseFft(half, re_.data(), im_.data()) != 0) return;
    for (int m = 0; m < half; ++m) {
        phi_[2 * m] = re_[m];
        phi_[2 * m + 1] = im_[m];
    }
    normalise(phi_);
    deliver(phi_);
}

// The zero-lag value is 4 M times the sum of squares of the weighted frame without DC (both
// transforms unscaled, P = 4 |X|^2), hence the mean square over the n samples.
void RunningAcfAnalyzer::deliver(std::span<const float> phi) {
    const double endTime = static_cast<double>(blocksFed_) * static_cast<double>(stepFrames_) / parameters_.sampleRate;
    const double meanSquare = zeroLag_ / (4.0 * fftSize_ * frameLength_);
    const bool interaural = interaural_.begun() && interaural_.normalised(iacf_);
    sink_.acceptFrame({phi, decimatedRate(), endTime, frameLength_, meanSquare,
                       interaural ? std::span<const float>(iacf_) : std::span<const float>()});
}

// Even-indexed samples (oldest first) in re, odd ones in im, zero-padded to M/2 pairs. The
// ring is first unrolled into phi_ (free until the frame is delivered) so both loops are plain.
void RunningAcfAnalyzer::loadRingAsPairs() {
    const int half = fftSize_ / 2;
    const auto oldest = ring_.begin() + ringPos_;
    const auto afterOldest = std::copy(oldest, ring_.end(), phi_.begin());
    const auto afterRing = std::copy(ring_.begin(), oldest, afterOldest);
    std::fill(afterRing, phi_.end(), 0.0f);
    for (int m = 0; m < half; ++m) {
        re_[m] = phi_[2 * m];
        im_[m] = phi_[2 * m + 1];
    }
}

// P[k] = 4 |w[k] X[k]|^2 for k = 1 .. M/2, the DC bin dropped, as the full path computes it.
void RunningAcfAnalyzer::powerFromHalfSpectrum() {
    const int half = fftSize_ / 2;
    power_[0] = 0.0f;
    for (int k = 1; k <= half; ++k) {
        const int mirror = half - k;  // Z[M/2] is Z[0]
        const float zr = re_[k == half ? 0 : k], zi = im_[k == half ? 0 : k];
        const float mr = re_[mirror], mi = -im_[mirror];  // conj Z[M/2 - k]
        const float er = 0.5f * (zr + mr), ei = 0.5f * (zi + mi);
        const float orr = 0.5f * (zi - mi), oi = -0.5f * (zr - mr);  // (Z - conj Z') / 2i
        const float c = cosine_[k], s = sine_[k];
        const float xr = er + c * orr + s * oi, xi = ei + c * oi - s * orr;  // E + e^(-i theta) O
        const float weighted = weight_[k] * weight_[k];
        power_[k] = 4.0f * weighted * (xr * xr + xi * xi);
    }
}

void RunningAcfAnalyzer::inverseOfEvenPower() {
    const int half = fftSize_ / 2;
    for (int k = 0; k < half; ++k) {
        const float a = power_[k] + power_[half - k];
        const float d = power_[k] - power_[half - k];
        const float br = d * cosine_[k], bi = d * sine_[k];
        re_[k] = a - bi;  // A + iB
        im_[k] = br;
    }
}

}  // namespace phonomir
