// The Signal Generator's settings record. It is stored byte for byte as the generator section
// of SETDATA.DAT and as the "SG" section of a preset, so its field order, widths and offsets
// are a file format: 108 bytes, little-endian, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace phonomir {

enum class Waveform : std::int32_t { Sinusoidal = 0, Triangular = 1, Square = 2, Sawtooth = 3 };
enum class SignalKind : std::int32_t { Tone = 0, Noise = 1, Sweep = 2, Pulse = 3 };
enum class NoiseKind : std::int32_t { White = 0, Pink = 1 };
enum class NoiseMode : std::int32_t { Monaural = 0, Dual = 1, InversePhase = 2 };
enum class PulsePolarity : std::int32_t { Plus = 0, Minus = 1, Alternation = 2 };

// Field values as stored; the member initialisers are the defaults of a new settings file.
// Decoding keeps the stored values as they are; `clampedToRanges` gives a copy fit for use.
struct GeneratorSettings {
    static constexpr std::size_t kEncodedSize = 108;

    std::int32_t windowX = 0;          // last screen X of the window, 0 = not yet placed
    std::int32_t windowY = 0;          // last screen Y
    std::int32_t signalKind = 0;       // SignalKind: selected tab
    std::int32_t sampleRateIndex = 1;  // index into SampleRateTable (1 = 44100 Hz)
    std::int32_t levelLeft = 0;        // Lch output level, 0..100
    std::int32_t levelRight = 0;       // Rch output level, 0..100
    std::int32_t digitalOutput = 32767;  // peak sample amplitude, 0..32767
    std::int32_t interlock = 0;        // 1 = both levels move together
    double toneFrequency = 1000.0;     // Hz, 0..20000
    std::int32_t toneWaveform = 0;     // Waveform
    std::int32_t noiseKind = 0;        // NoiseKind
    std::int32_t noiseMode = 0;        // NoiseMode
    double sweepFrom = 20.0;           // Hz
    double sweepTo = 20000.0;          // Hz
    double sweepRate = 0.5;            // octaves per second
    std::int32_t sweepLoop = 0;        // 1 = restart at sweepFrom after sweepTo
    std::int32_t sweepWaveform = 0;    // Waveform
    std::int32_t pulseWidthIndex = 0;  // pulse lasts pulseWidthIndex + 1 samples
    std::int32_t pulsePolarity = 0;    // PulsePolarity
    std::int32_t pulseCount = 1;       // number of pulses when not repeating
    std::int32_t pulseRepeat = 0;      // 1 = endless train
    double pulsePeriod = 10.0;         // ms

    // Every choice within its list (tab, rate, waveforms, noise, polarity, pulse width) and every
    // flag 0/1; levels within 0..100, the digital output within 0..32767, the tone frequency
    // within 0..20000 Hz as its edit takes it. A frequency, rate or period that is not a finite
    // number takes its default; finite sweep and pulse values are kept as the user typed them.
    // The window position is kept (the window keeps itself on a screen).
    GeneratorSettings clampedToRanges() const;

    void encode(std::span<std::uint8_t, kEncodedSize> out) const;
    static GeneratorSettings decode(std::span<const std::uint8_t, kEncodedSize> in);

    friend bool operator==(const GeneratorSettings&, const GeneratorSettings&) = default;
};

}  // namespace phonomir
