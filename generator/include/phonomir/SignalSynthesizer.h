// Computes the generator's test signals into 16-bit PCM buffers: tones with a glide to a new
// frequency, white and pink noise, exponential sweeps and pulse trains. Owned by the generator
// window and called on the user-interface thread for each buffer the output device asks for.
//
// Every fill reads the settings record afresh, so edits made while a signal plays take effect
// at once; only what reset() latches (the tone's start frequency, the sweep factor and
// direction, the pulse clock step) waits for the next start.
#pragma once

#include "phonomir/FftEngine.h"
#include "phonomir/GeneratorSettings.h"
#include "phonomir/LagRandom.h"

#include <cstdint>
#include <span>
#include <vector>

namespace phonomir {

class SignalSynthesizer {
public:
    static constexpr int kBufferSamples = 4096;  // one buffer: 8192 bytes
    static constexpr int kBufferBytes = 2 * kBufferSamples;

    explicit SignalSynthesizer(LagRandom& random = generatorRandom());

    // 2 for Dual or Inverse Phase noise, otherwise 1.
    static int channelsNeeded(const GeneratorSettings& settings);

    void reset(const GeneratorSettings& settings, int rate);

    // Writes up to 4096 samples (interleaved left, right for two channels) and returns the
    // bytes written: always 8192 for tone and noise; for sweep and pulse fewer when the signal
    // ends inside the buffer and 0 once it has ended. `buffer` must hold 4096 samples.
    int fill(const GeneratorSettings& settings, int rate, std::span<std::int16_t> buffer);

private:
    int fillTone(const GeneratorSettings& s, double rate, std::int16_t* out);
    int fillWhiteNoise(const GeneratorSettings& s, std::int16_t* out);
    int fillPinkNoise(const GeneratorSettings& s, std::int16_t* out);
    int fillSweep(const GeneratorSettings& s, double rate, std::int16_t* out);
    int fillPulse(const GeneratorSettings& s, std::int16_t* out);
    void advancePhase(double frequency, double rate);

    LagRandom& random_;
    double phase_ = 0.0;
    double currentToneFrequency_ = 0.0;
    double sweepFrequency_ = 0.0;
    double sweepFactor_ = 1.0;
    bool sweepDescending_ = false;
    double pulseClock_ = 0.0;
    double pulseMsPerSample_ = 0.0;
    std::int32_t pulsesEmitted_ = 0;
    std::int32_t pulseSamplePos_ = 0;
    FftEngine pinkFft_;
    std::vector<float> pinkRe_, pinkIm_;
};

// The sample of a waveform (Sinusoidal, Triangular, Square, Sawtooth) at phase p in [0, 1)
// with peak amplitude 0..32767.
std::int16_t waveformSample(std::int32_t waveform, double phase, std::int32_t amplitude);

}  // namespace phonomir
