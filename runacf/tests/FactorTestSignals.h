// Test signals whose autocorrelation is known in closed form, for the factor tests. The running
// ACF reads every tenth sample only, so a signal meant for the decimated rate is placed on those
// samples (spreadToFullRate) and the others stay 0.
#pragma once

#include "phonomir/FftEngine.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace phonomir::test {

inline std::int16_t sample(double v) { return static_cast<std::int16_t>(std::clamp(std::lround(v), -32767L, 32767L)); }

// x[10 k] = y[k], the rest 0: what the running ACF sees is y at fs / 10.
inline std::vector<std::int16_t> spreadToFullRate(const std::vector<double>& y) {
    std::vector<std::int16_t> x(10 * y.size(), 0);
    for (std::size_t k = 0; k < y.size(); ++k) x[10 * k] = sample(y[k]);
    return x;
}

inline std::vector<double> tone(std::size_t count, double rate, double frequency, double amplitude, double phase = 0.3) {
    std::vector<double> y(count);
    for (std::size_t k = 0; k < count; ++k) y[k] = amplitude * std::cos(2 * std::numbers::pi * frequency * k / rate + phase);
    return y;
}

inline std::vector<double> whiteNoise(std::size_t count, double rms, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0.0, rms);
    std::vector<double> y(count);
    for (double& v : y) v = normal(random);
    return y;
}

// Gaussian noise with a flat spectrum from just above 0 to `cutoff` Hz and none above: white
// noise of a power-of-two length with the bins outside the band cleared, scaled to `rms`.
inline std::vector<double> lowPassNoise(std::size_t count, double rate, double cutoff, double rms, unsigned seed) {
    int n = 1;
    while (static_cast<std::size_t>(n) < count) n *= 2;
    const std::vector<double> white = whiteNoise(static_cast<std::size_t>(n), 1.0, seed);
    std::vector<float> re(white.begin(), white.end()), im(n, 0.0f);
    FftEngine fft;
    fft.forwardFft(n, re.data(), im.data());
    for (int k = 0; k < n; ++k) {
        const double frequency = std::min(k, n - k) * rate / n;
        if (k == 0 || frequency > cutoff) re[k] = im[k] = 0.0f;
    }
    fft.inverseFft(n, re.data(), im.data());
    double power = 0;
    for (std::size_t k = 0; k < count; ++k) power += static_cast<double>(re[k]) * re[k];
    const double scale = rms / std::sqrt(power / count);
    std::vector<double> y(count);
    for (std::size_t k = 0; k < count; ++k) y[k] = re[k] * scale;
    return y;
}

// The real part of complex white noise through the one-pole resonator z[k] = w[k] + p z[k-1],
// p = exp(-1 / (rate tau0)) exp(i 2 pi frequency / rate): its autocorrelation is exactly
// exp(-tau / tau0) cos(2 pi frequency tau), an envelope exp(-tau / tau0) from 1.
inline std::vector<double> resonatorNoise(std::size_t count, double rate, double frequency, double tau0, double rms,
                                          unsigned seed) {
    const std::complex<double> pole = std::polar(std::exp(-1.0 / (rate * tau0)), 2 * std::numbers::pi * frequency / rate);
    const std::vector<double> re = whiteNoise(count + 4000, 1.0, seed), im = whiteNoise(count + 4000, 1.0, seed + 1);
    std::vector<double> y(count);
    std::complex<double> z = 0;
    double power = 0;
    for (std::size_t k = 0; k < count + 4000; ++k) {
        z = std::complex<double>(re[k], im[k]) + pole * z;
        if (k >= 4000) power += (y[k - 4000] = z.real()) * z.real();  // after the start has died away
    }
    const double scale = rms / std::sqrt(power / count);
    for (double& v : y) v *= scale;
    return y;
}

}  // namespace phonomir::test
