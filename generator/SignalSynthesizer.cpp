#include "phonomir/SignalSynthesizer.h"

#include "phonomir/SineTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace phonomir {
namespace {

constexpr int kPinkBlock = 2048;
// The pink-noise output scale is the single-precision value 0x3D800100 = 1/16 (1 + 2^-15).
constexpr float kPinkScale = 0.0625019073486328125f;

// A stored amplitude outside 0..32767 (a damaged settings file) would overflow the samples.
std::int32_t amplitudeOf(const GeneratorSettings& s) { return std::clamp(s.digitalOutput, 0, 32767); }

std::int16_t saturate(double value) {
    return static_cast<std::int16_t>(std::clamp(std::trunc(value), -32767.0, 32767.0));
}

}  // namespace

std::int16_t waveformSample(std::int32_t waveform, double p, std::int32_t amplitude) {
    switch (static_cast<Waveform>(waveform)) {
        case Waveform::Triangular: {
            const double e = p < 0.5 ? p - 0.25 : 0.75 - p;
            return static_cast<std::int16_t>(std::trunc(e * amplitude * 4));
        }
        case Waveform::Square: return static_cast<std::int16_t>(p < 0.5 ? amplitude : -amplitude);
        case Waveform::Sawtooth: return static_cast<std::int16_t>(std::trunc((p - 0.5) * amplitude * 2));
        default: {
            const int index = std::clamp(static_cast<int>(p * SineTable::kSize), 0, SineTable::kSize - 1);
            return static_cast<std::int16_t>(SineTable::instance()[index] * amplitude / 32767);
        }
    }
}

SignalSynthesizer::SignalSynthesizer(LagRandom& random)
    : random_(random), pinkRe_(kPinkBlock), pinkIm_(kPinkBlock) {}

int SignalSynthesizer::channelsNeeded(const GeneratorSettings& s) {
    const bool twoChannelNoise = s.noiseMode == static_cast<std::int32_t>(NoiseMode::Dual) ||
                                 s.noiseMode == static_cast<std::int32_t>(NoiseMode::InversePhase);
    return s.signalKind == static_cast<std::int32_t>(SignalKind::Noise) && twoChannelNoise ? 2 : 1;
}

void SignalSynthesizer::reset(const GeneratorSettings& s, int rate) {
    phase_ = 0.0;
    currentToneFrequency_ = s.toneFrequency;
    sweepDescending_ = s.sweepFrom > s.sweepTo;
    sweepFrequency_ = s.sweepFrom;
    sweepFactor_ = std::pow(2.0, s.sweepRate / rate);
    if (sweepDescending_) sweepFactor_ = 1.0 / sweepFactor_;
    pulseClock_ = 0.0;
    pulsesEmitted_ = 0;
    pulseSamplePos_ = 0;
    pulseMsPerSample_ = 1000.0 / rate;
}

int SignalSynthesizer::fill(const GeneratorSettings& s, int rate, std::span<std::int16_t> buffer) {
    if (buffer.size() < static_cast<std::size_t>(kBufferSamples) || rate <= 0) return 0;
    std::int16_t* out = buffer.data();
    switch (static_cast<SignalKind>(s.signalKind)) {
        case SignalKind::Tone: return fillTone(s, rate, out);
        case SignalKind::Noise:
            return s.noiseKind == static_cast<std::int32_t>(NoiseKind::Pink) ? fillPinkNoise(s, out)
                                                                            : fillWhiteNoise(s, out);
        case SignalKind::Sweep: return fillSweep(s, rate, out);
        case SignalKind::Pulse: return fillPulse(s, out);
    }
    std::fill(out, out + kBufferSamples, std::int16_t{0});  // unknown kind from a damaged record
    return kBufferBytes;
}

// phase += f / rate, kept in [0, 1). Removing the whole cycles at once equals subtracting 1
// repeatedly (each step is exact) and cannot loop for long on an absurd frequency; a negative
// or non-finite frequency from a damaged record cannot push the phase out of the table.
void SignalSynthesizer::advancePhase(double frequency, double rate) {
    phase_ += frequency / rate;
    if (phase_ >= 1.0 || phase_ < 0.0) phase_ -= std::floor(phase_);
    if (!std::isfinite(phase_) || phase_ >= 1.0) phase_ = 0.0;
}

// A changed frequency is reached by a geometric glide across exactly one buffer; from 0 Hz
// there is no glide (the buffer holds the phase and the next one plays the new frequency).
int SignalSynthesizer::fillTone(const GeneratorSettings& s, double rate, std::int16_t* out) {
    const std::int32_t amplitude = amplitudeOf(s);
    double f = currentToneFrequency_;
    const double target = s.toneFrequency;
    const double glide = (f != target && f != 0.0) ? std::pow(target / f, 1.0 / kBufferSamples) : 1.0;
    for (int i = 0; i < kBufferSamples; ++i) {
        out[i] = waveformSample(s.toneWaveform, phase_, amplitude);
        advancePhase(f, rate);
        f *= glide;
    }
    currentToneFrequency_ = target;
    return kBufferBytes;
}

int SignalSynthesizer::fillWhiteNoise(const GeneratorSettings& s, std::int16_t* out) {
    const double amplitude = amplitudeOf(s);
    const double sixth = 1.0 / 6.0;
    if (s.noiseMode == static_cast<std::int32_t>(NoiseMode::InversePhase)) {
        for (int frame = 0; frame < kBufferSamples / 2; ++frame) {
            const auto v = static_cast<std::int16_t>(std::trunc(random_.gauss() * amplitude * sixth));
            out[2 * frame] = v;
            out[2 * frame + 1] = static_cast<std::int16_t>(-v);
        }
    } else {
        for (int i = 0; i < kBufferSamples; ++i)
            out[i] = static_cast<std::int16_t>(std::trunc(random_.gauss() * amplitude * sixth));
    }
    return kBufferBytes;
}

// One block of 2048 complex points with random phases and a 1/sqrt(f) amplitude taper,
// inverse-transformed: the spectrum is not conjugate-symmetric, so the real and imaginary
// outputs are two independent pink-noise sequences.
int SignalSynthesizer::fillPinkNoise(const GeneratorSettings& s, std::int16_t* out) {
    float* re = pinkRe_.data();
    float* im = pinkIm_.data();
    re[0] = im[0] = 0.0f;
    for (int k = 1; k < kPinkBlock; ++k) {
        const int m = kPinkBlock / 2 - std::abs(k - kPinkBlock / 2);
        const double w = std::sqrt(1.0 / m);
        re[k] = static_cast<float>(random_.uniformPM1() * w);
        im[k] = static_cast<float>(random_.uniformPM1() * w);
    }
    re[kPinkBlock / 2] *= 2.0f;
    im[kPinkBlock / 2] *= 2.0f;
    pinkFft_.inverseFft(kPinkBlock, re, im);
    const float q = static_cast<float>(amplitudeOf(s)) * kPinkScale;
    const auto mode = static_cast<NoiseMode>(s.noiseMode);
    for (int i = 0; i < kPinkBlock; ++i) {
        const std::int16_t left = saturate(q * re[i]);
        if (mode == NoiseMode::Dual || mode == NoiseMode::InversePhase) {
            out[2 * i] = left;
            out[2 * i + 1] = mode == NoiseMode::Dual ? saturate(q * im[i]) : static_cast<std::int16_t>(-left);
        } else {
            out[i] = left;
            out[kPinkBlock + i] = saturate(q * im[i]);
        }
    }
    return kBufferBytes;
}

// Exponential sweep at sweepRate octaves per second; the end test reads sweepTo live.
int SignalSynthesizer::fillSweep(const GeneratorSettings& s, double rate, std::int16_t* out) {
    const std::int32_t amplitude = amplitudeOf(s);
    for (int i = 0; i < kBufferSamples; ++i) {
        const bool ended = sweepDescending_ ? sweepFrequency_ < s.sweepTo : sweepFrequency_ > s.sweepTo;
        if (ended) {
            if (!s.sweepLoop) return 2 * i;
            sweepFrequency_ = s.sweepFrom;
        }
        out[i] = waveformSample(s.sweepWaveform, phase_, amplitude);
        advancePhase(sweepFrequency_, rate);
        sweepFrequency_ *= sweepFactor_;
    }
    return kBufferBytes;
}

// A pulse starts where the accumulated clock first reaches the period; after the last pulse of
// a finite train, zeros follow until the next period boundary, where the signal ends.
int SignalSynthesizer::fillPulse(const GeneratorSettings& s, std::int16_t* out) {
    const std::int32_t amplitude = amplitudeOf(s);
    for (int i = 0; i < kBufferSamples; ++i) {
        pulseClock_ += pulseMsPerSample_;
        if (pulseClock_ >= s.pulsePeriod) {
            if (!s.pulseRepeat && pulsesEmitted_ >= s.pulseCount) return 2 * i;
            pulseSamplePos_ = 1;
            ++pulsesEmitted_;
            pulseClock_ -= s.pulsePeriod;
        }
        if (pulseSamplePos_ == 0) {
            out[i] = 0;
            continue;
        }
        const bool positive = s.pulsePolarity == static_cast<std::int32_t>(PulsePolarity::Plus) ||
                              (s.pulsePolarity == static_cast<std::int32_t>(PulsePolarity::Alternation) &&
                               pulsesEmitted_ % 2 == 1);
        out[i] = static_cast<std::int16_t>(positive ? amplitude : -amplitude);
        if (++pulseSamplePos_ > static_cast<std::int64_t>(s.pulseWidthIndex) + 1) pulseSamplePos_ = 0;
    }
    return kBufferBytes;
}

}  // namespace phonomir
