#include "phonomir/CalibrationMeter.h"

#include "phonomir/SineTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace phonomir {

namespace {

constexpr double kFullScalePower = 32767.0 * 16384.0;  // 536854528: full-scale sine reads 0 dB

}  // namespace

CalibrationMeter::CalibrationMeter()
    : weights_(kBufferSamples), response_(kBufferSamples), weighting_(kBufferSamples), re_(kBufferSamples),
      im_(kBufferSamples) {
    fft_.forwardFft(kBufferSamples, re_.data(), im_.data());  // builds the tables now, not per buffer
    setResponse({}, WeightingKind::Flat);
}

void CalibrationMeter::setResponse(const std::vector<ResponsePoint>& points, WeightingKind weighting) {
    BuildResponseCurve(response_.data(), kBufferSamples, kRate, points.data(), static_cast<int>(points.size()), 20.0);
    BuildWeightingCurve(weighting_.data(), kBufferSamples, kRate, weighting, 20.0);
    weights_[0] = 0.0f;
    for (int i = 1; i < kBufferSamples; ++i) {
        const double gain = response_[i];
        double weight = gain > 0 && std::isfinite(gain) ? 1.0 / (gain * kFullScalePower) : 0.0;
        if (weighting != WeightingKind::Flat) weight *= weighting_[i];
        weights_[i] = std::isfinite(weight) && std::isfinite(static_cast<float>(weight)) ? static_cast<float>(weight) : 0.0f;
    }
}

void CalibrationMeter::addBuffer(const std::int16_t* samples) {
    for (int i = 0; i < kBufferSamples; ++i) {
        re_[i] = samples[i];
        im_[i] = 0.0f;
    }
    fft_.forwardFft(kBufferSamples, re_.data(), im_.data());
    for (int i = 0; i < kBufferSamples; ++i) {
        re_[i] *= weights_[i];
        im_[i] *= weights_[i];
    }
    double power = 0.0;
    for (int k = 1; k <= kBufferSamples / 2; ++k) {
        const double re = static_cast<double>(re_[k]) + re_[kBufferSamples - k];
        const double im = static_cast<double>(im_[k]) - im_[kBufferSamples - k];
        power += re * re + im * im;
    }
    ring_[next_] = power;
    next_ = (next_ + 1) % static_cast<int>(ring_.size());
}

void CalibrationMeter::reset() {
    ring_.fill(0.0);
    next_ = 0;
}

double CalibrationMeter::reading(double offsetDb) const {
    double sum = 0.0;
    for (double power : ring_) sum += power;
    const double level = sum > 0 ? 10.0 * std::log10(0.2 * sum) : kFloorDb;
    return offsetDb + std::max(level, kFloorDb);
}

std::string CalibrationMeter::formatReading(double readingDb) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", readingDb);
    return text;
}

void TestTone::fill(std::int16_t* samples, int count) {
    const SineTable& table = SineTable::instance();
    for (int i = 0; i < count; ++i) {
        samples[i] = table[static_cast<int>(phase_ * SineTable::kSize)];
        phase_ += 1000.0 / 44100.0;
        while (phase_ >= 1.0) phase_ -= 1.0;
    }
}

}  // namespace phonomir
