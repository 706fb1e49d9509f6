// The correlation display of SpectrumEngine: the auto-correlation of each channel or the
// cross-correlation of the two, from the corrected spectrum through the inverse transform.
#include "phonomir/SpectrumEngine.h"

#include <cmath>

namespace phonomir {
namespace {

// A value v is drawn at y = centre - v h/2 (rounded), x = w k / count; a point equal to the
// previous one is dropped.
void toPlotPoints(const std::vector<float>& values, PlotSize plot, std::vector<PlotPoint>& points) {
    points.clear();
    const int count = static_cast<int>(values.size());
    for (int k = 0; k < count; ++k) {
        const PlotPoint point{static_cast<int>(static_cast<long long>(plot.width) * k / count),
                              std::round(plot.height / 2.0f - values[k] * plot.height / 2.0f)};
        if (points.empty() || !(points.back() == point)) points.push_back(point);
    }
}

}  // namespace

void SpectrumEngine::correlationDisplay() {
    const bool cross = channels_ == 2 && settings_->correlation == 1;
    if (cross)
        crossCorrelation();
    else
        autoCorrelation();
}

// Both halves of the spectrum become the two channels' powers, so the inverse transform gives
// the left auto-correlation in re and the right one in im, each real.
void SpectrumEngine::autoCorrelation() {
    for (int i = 1; i <= n_ / 2; ++i) {
        const int j = n_ - i;
        const float left = (im_[i] - im_[j]) * (im_[i] - im_[j]) + (re_[i] + re_[j]) * (re_[i] + re_[j]);
        const float right = (re_[i] - re_[j]) * (re_[i] - re_[j]) + (im_[i] + im_[j]) * (im_[i] + im_[j]);
        re_[i] = re_[j] = left;
        im_[i] = im_[j] = right;
    }
    re_[0] = im_[0] = 0.0f;
    fft_.inverseFft(n_, re_.data(), im_.data());
    const int lags = n_ / 10;
    for (int c = 0; c < channels_; ++c) {
        const float* acf = c == 0 ? re_.data() : im_.data();
        ChannelResults& r = results_[c];
        r.correlation.clear();
        // A silent block has no lag-0 power: it shows as a flat line at 0.
        const float zeroLag = acf[0];
        for (int k = 0; k < lags; ++k) r.correlation.push_back(zeroLag > 0 ? acf[k] / zeroLag : 0.0f);
    }
    for (int c = 0; c < channels_; ++c) toPlotPoints(results_[c].correlation, plot_, results_[c].correlationPoints);
}

// 4 X_left conj(X_right) in place, normalised by twice the energy of the packed spectrum, so
// identical channels read 1.0 at lag 0.
void SpectrumEngine::crossCorrelation() {
    double energy = 0.0;
    for (int k = 0; k < n_; ++k) energy += static_cast<double>(re_[k]) * re_[k] + static_cast<double>(im_[k]) * im_[k];
    for (int i = 1; i <= n_ / 2; ++i) {
        const int j = n_ - i;
        const float p = im_[i], q = im_[j], u = re_[j] + re_[i], t = re_[j] - re_[i];
        re_[i] = re_[j] = (p - q) * t + u * (p + q);
        im_[i] = (p - q) * (p + q) - u * t;
        im_[j] = -im_[i];
    }
    re_[0] = im_[0] = 0.0f;
    fft_.inverseFft(n_, re_.data(), im_.data());
    const int lags = n_ / 10;
    ChannelResults& r = results_[0];
    r.correlation.clear();
    for (int k = 0; k < 2 * lags; ++k) {
        const float value = re_[(n_ - lags + k) % n_];
        r.correlation.push_back(energy > 0 ? static_cast<float>(value / (2.0 * energy)) : 0.0f);
    }
    toPlotPoints(r.correlation, plot_, r.correlationPoints);
}

}  // namespace phonomir
