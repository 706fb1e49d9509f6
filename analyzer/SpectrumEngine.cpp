#include "phonomir/SpectrumEngine.h"

#include "phonomir/BandTable.h"
#include "phonomir/SampleRateTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

namespace phonomir {
namespace {

// A stored FFT size that is not one of 1024 .. 65536 (a damaged settings file) falls back to
// the default rather than sizing the arrays from it.
int validFftSize(int n) { return n >= 1024 && n <= 65536 && (n & (n - 1)) == 0 ? n : 8192; }

}  // namespace

bool SpectrumEngine::setupAnalysis(const AnalyzerSettings& settings, const MicCalibration& calibration) {
    settings_ = &settings;
    rate_ = static_cast<int>(SampleRateTable::rate(settings.sampleRateIndex));
    n_ = validFftSize(settings.fftSize);
    channels_ = settings.channels();
    calibrationOffset_ = calibration.offsetDb;
    try {
        window_.resize(n_);
        makeWindow(static_cast<WindowType>(std::clamp(settings.timeWindow, 0, 4)), n_, window_.data());
        correction_.resize(n_);
        BuildResponseCurve(correction_.data(), n_, rate_, calibration.points.data(),
                           static_cast<int>(calibration.points.size()), 20);
        const double offsetGain = std::pow(10.0, -0.05 * calibration.offsetDb);
        for (int i = 1; i < n_; ++i) {
            const float response = correction_[i];
            // A response that underflowed or overflowed would poison every spectrum; drop that bin.
            correction_[i] = response > 0 && std::isfinite(response) ? static_cast<float>(offsetGain / response) : 0.0f;
        }
        correction_[0] = 0.0f;
        if (settings.weighting >= 1 && settings.weighting <= 3) {
            std::vector<float> weighting(n_);
            BuildWeightingCurve(weighting.data(), n_, rate_, static_cast<WeightingKind>(settings.weighting), 20);
            for (int i = 0; i < n_; ++i) correction_[i] *= weighting[i];
        }
        re_.assign(n_, 0.0f);
        im_.assign(n_, 0.0f);
        lnFrequency_.resize(n_ / 2 + 1);
        lnFrequency_[0] = 0.0;
        for (int i = 1; i <= n_ / 2; ++i) lnFrequency_[i] = std::log(i * binSpacing());
        for (ChannelResults& r : results_) {
            r = ChannelResults{};
            r.power.assign(n_ / 2 + 1, 0.0f);
            r.correlation.reserve(2 * (n_ / 10));
        }
        // Build the transform tables now rather than on the first recorded block.
        if (fft_.forwardFft(n_, re_.data(), im_.data()) != 0) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    blocksSinceRepaint_ = 0;
    blocksReceived_ = 0;
    // The display state follows at once (channel count included), on the last plot size, so a
    // block analysed before the caller's own setupDisplay finds everything sized.
    setupDisplay(plot_);
    return true;
}

void SpectrumEngine::setupDisplay(PlotSize plot) {
    plot_ = {std::max(plot.width, 1), std::max(plot.height, 1)};
    range_ = computeDisplayRange(*settings_, rate_, n_, calibrationOffset_);
    bandSlots_ = BandTable::slotCount(range_.highFrequency);
    waterfall_.reset(std::clamp(settings_->waterfallLines, 5, 32), channels_, plot_.width);
    for (ChannelResults& r : results_) {
        r.spectrumPoints.clear();
        r.spectrumPoints.reserve(2 * static_cast<std::size_t>(plot_.width) + 4);
        r.correlationPoints.clear();
        r.correlationPoints.reserve(2 * static_cast<std::size_t>(n_ / 10) + 1);
        r.hasMarker = false;
        r.heldLevel.fill(0.0);
        r.holdCounter.fill(0);
    }
}

void SpectrumEngine::analyzeBlock(const std::int16_t* frames) {
    // At most two blocks are analysed per repaint: the display lags by at most two blocks and
    // the recording never falls behind, whatever the FFT size and the machine.
    ++blocksReceived_;
    if (++blocksSinceRepaint_ >= 3) return;
    windowAndPack(frames);
    fft_.forwardFft(n_, re_.data(), im_.data());
    for (int i = 0; i < n_; ++i) {
        re_[i] *= correction_[i];
        im_[i] *= correction_[i];
    }
    switch (static_cast<DisplayType>(settings_->displayType)) {
        case DisplayType::Correlation: correlationDisplay(); return;
        case DisplayType::ThirdOctave:
            updatePowerSpectrum();
            for (int c = 0; c < channels_; ++c) bandDisplay(results_[c]);
            return;
        case DisplayType::Waterfall:
            updatePowerSpectrum();
            waterfallDisplay();
            return;
        default:
            updatePowerSpectrum();
            for (int c = 0; c < channels_; ++c) spectrumDisplay(results_[c]);
    }
}

// Two channels travel as one complex signal: left in the real part, right in the imaginary.
void SpectrumEngine::windowAndPack(const std::int16_t* frames) {
    if (channels_ == 2) {
        for (int i = 0; i < n_; ++i) {
            re_[i] = window_[i] * frames[2 * i];
            im_[i] = window_[i] * frames[2 * i + 1];
        }
    } else {
        for (int i = 0; i < n_; ++i) {
            re_[i] = window_[i] * frames[i];
            im_[i] = 0.0f;
        }
    }
}

// P_now = 4 |X[i]|^2 of each channel, unpacked from the shared spectrum, then smoothed with the
// factors a/10 and 1 - a/10 rounded to float.
void SpectrumEngine::updatePowerSpectrum() {
    const int a = std::clamp(settings_->smoothing, 0, 9);
    const float keep = static_cast<float>(a / 10.0), take = static_cast<float>(1.0 - a / 10.0);
    for (int c = 0; c < channels_; ++c) {
        float* p = results_[c].power.data();
        double sum = 0.0;
        for (int i = 1; i <= n_ / 2; ++i) {
            const int j = n_ - i;
            const float now = c == 0 ? (im_[i] - im_[j]) * (im_[i] - im_[j]) + (re_[i] + re_[j]) * (re_[i] + re_[j])
                                     : (re_[j] - re_[i]) * (re_[j] - re_[i]) + (im_[i] + im_[j]) * (im_[i] + im_[j]);
            p[i] = take * now + keep * p[i];
            sum += p[i];
        }
        results_[c].overallPower = sum;
    }
}

void SpectrumEngine::selectBin(int bin) {
    if (bin < 2 || bin > n_ / 2 - 1) return;
    for (ChannelResults& r : results_) r.selectedBin = bin;
    for (int c = 0; c < channels_; ++c) spectrumReadout(results_[c]);
}

void SpectrumEngine::selectBand(int slot) {
    if (slot < 0 || slot >= bandSlots_) return;
    for (ChannelResults& r : results_) r.selectedBand = slot;
    for (int c = 0; c < channels_; ++c) bandReadout(results_[c]);
}

void SpectrumEngine::clearSelection() {
    for (ChannelResults& r : results_) {
        r.selectedBin = 0;
        r.hasMarker = false;
    }
    for (int c = 0; c < channels_; ++c) spectrumReadout(results_[c]);
}

float SpectrumEngine::levelToY(double levelDb) const {
    return static_cast<float>(plot_.height * (levelDb - range_.highLevel) / (range_.lowLevel - range_.highLevel));
}

void SpectrumEngine::waterfallTimeLabel(char* out, std::size_t size) const {
    const double seconds = static_cast<double>(waterfall_.lineCount()) * n_ / rate_;
    if (seconds >= 1.0)
        std::snprintf(out, size, "t=%.3fs", seconds);
    else
        std::snprintf(out, size, "t=%.1fms", seconds * 1000.0);
}

}  // namespace phonomir
