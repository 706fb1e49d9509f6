#include "SynthesisTestSupport.h"

#include "phonomir/SineTable.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace phonomir;
using phonomir::testing::render;

namespace {

// With a full-scale sawtooth each sample reveals its phase: s = trunc((p - 0.5) 65534).
double phaseOfSawtooth(std::int16_t s) { return s / 65534.0 + 0.5; }

double phaseStep(std::int16_t from, std::int16_t to) {
    double d = phaseOfSawtooth(to) - phaseOfSawtooth(from);
    return d < 0 ? d + 1.0 : d;
}

GeneratorSettings tone(double frequency, Waveform waveform) {
    GeneratorSettings s;
    s.signalKind = static_cast<int>(SignalKind::Tone);
    s.toneFrequency = frequency;
    s.toneWaveform = static_cast<int>(waveform);
    return s;
}

TEST(Tone, SineSamplesFollowTheTableAtTheAdvancingPhase) {
    const auto r = render(tone(750, Waveform::Sinusoidal), 48000, 1);
    // At 750 Hz and 48 kHz the phase advances by exactly 1/64 cycle, 750 table steps, per sample.
    for (int i = 0; i < 200; ++i) ASSERT_EQ(r.samples[i], SineTable::instance()[(i * 750) % 48000]) << i;
}

TEST(Tone, ChangedFrequencyGlidesGeometricallyAcrossOneBufferThenHolds) {
    const int rate = 48000;
    GeneratorSettings s = tone(1000, Waveform::Sawtooth);
    SignalSynthesizer synth;
    synth.reset(s, rate);
    std::vector<std::int16_t> a(4096), b(4096), c(4096);
    synth.fill(s, rate, a);
    s.toneFrequency = 2000;
    synth.fill(s, rate, b);
    synth.fill(s, rate, c);
    for (int n = 0; n + 1 < 4096; n += 97) {
        const double expected = 1000.0 * std::pow(2.0, n / 4096.0) / rate;
        ASSERT_NEAR(phaseStep(b[n], b[n + 1]), expected, 3.0 / 65534) << n;
    }
    for (int n = 0; n + 1 < 4096; n += 97) ASSERT_NEAR(phaseStep(c[n], c[n + 1]), 2000.0 / rate, 3.0 / 65534) << n;
}

TEST(Tone, WaveformsHaveTheirShapesAtKnownPhases) {
    const std::int32_t a = 30000;
    EXPECT_EQ(waveformSample(1, 0.0, a), -a);    // triangle starts at -A
    EXPECT_EQ(waveformSample(1, 0.5, a), a);     // and peaks at +A half way
    EXPECT_EQ(waveformSample(1, 0.25, a), 0);
    EXPECT_EQ(waveformSample(2, 0.49, a), a);
    EXPECT_EQ(waveformSample(2, 0.5, a), -a);
    EXPECT_EQ(waveformSample(3, 0.0, a), -a);    // sawtooth rises from -A
    EXPECT_EQ(waveformSample(3, 0.75, a), a / 2);
    EXPECT_EQ(waveformSample(0, 0.25, a), a);    // sine at a quarter period
    EXPECT_EQ(waveformSample(0, 0.25, 1000), 1000);
}

TEST(Tone, FromZeroHertzHoldsThePhaseForOneBufferWithoutGlide) {
    const int rate = 44100;
    GeneratorSettings s = tone(0, Waveform::Sawtooth);
    SignalSynthesizer synth;
    synth.reset(s, rate);
    std::vector<std::int16_t> a(4096), b(4096);
    s.toneFrequency = 441;
    synth.fill(s, rate, a);
    for (auto v : a) ASSERT_EQ(v, a[0]);
    synth.fill(s, rate, b);
    EXPECT_NEAR(phaseStep(b[10], b[11]), 0.01, 3.0 / 65534);
}

TEST(Tone, DamagedFrequencyOrAmplitudeCannotLeaveTheTable) {
    GeneratorSettings s = tone(-1e12, Waveform::Sinusoidal);
    s.digitalOutput = 1 << 20;
    const auto r = render(s, 8000, 2);
    for (auto v : r.samples) ASSERT_LE(std::abs(v), 32767);
    s.toneFrequency = std::nan("");
    EXPECT_EQ(render(s, 8000, 1).bytesPerFill[0], 8192);
}

GeneratorSettings sweep(double from, double to, double rate, bool loop = false) {
    GeneratorSettings s;
    s.signalKind = static_cast<int>(SignalKind::Sweep);
    s.sweepFrom = from;
    s.sweepTo = to;
    s.sweepRate = rate;
    s.sweepLoop = loop;
    return s;
}

TEST(Sweep, TwentyHertzToTwentyKilohertzAtHalfAnOctavePerSecondRunsNearly20Seconds) {
    const int rate = 44100;
    const auto r = render(sweep(20, 20000, 0.5), rate, 400);
    ASSERT_GE(r.bytesPerFill.size(), 2u);
    EXPECT_EQ(r.bytesPerFill.back(), 0);
    const int partial = r.bytesPerFill[r.bytesPerFill.size() - 2];
    EXPECT_GT(partial, 0);
    EXPECT_LT(partial, 8192);
    // The frequency 20 * 2^(0.5 t) passes 20000 Hz after log2(1000) / 0.5 = 19.93 s.
    const double expectedSamples = std::log2(1000.0) / 0.5 * rate;
    EXPECT_NEAR(static_cast<double>(r.samples.size()), expectedSamples, 2.0);
}

TEST(Sweep, DescendingSweepEndsWhenTheFrequencyDropsBelowItsEnd) {
    const int rate = 8000;
    const auto r = render(sweep(1000, 100, 2.0), rate, 100);
    EXPECT_EQ(r.bytesPerFill.back(), 0);
    EXPECT_NEAR(static_cast<double>(r.samples.size()), std::log2(10.0) / 2.0 * rate, 2.0);
}

TEST(Sweep, EqualEndsStopAfterOneSampleAndZeroRateNeverEnds) {
    EXPECT_EQ(render(sweep(500, 500, 1.0), 48000, 3).bytesPerFill.front(), 2);
    const auto endless = render(sweep(20, 21, 0.0), 48000, 5);
    for (int bytes : endless.bytesPerFill) EXPECT_EQ(bytes, 8192);
}

TEST(Sweep, LoopRestartsAtTheStartFrequency) {
    const int rate = 8000;
    const auto r = render(sweep(100, 200, 8.0, true), rate, 3);  // one octave takes 1000 samples
    for (int bytes : r.bytesPerFill) EXPECT_EQ(bytes, 8192);
}

TEST(Silence, AmplitudeZeroPlaysSilenceForEverySignal) {
    for (int kind = 0; kind < 4; ++kind) {
        for (int noise = 0; noise < 2; ++noise) {
            GeneratorSettings s;
            s.signalKind = kind;
            s.noiseKind = noise;
            s.digitalOutput = 0;
            s.pulseRepeat = 1;
            const auto r = render(s, 48000, 2);
            EXPECT_EQ(r.bytesPerFill[0], 8192) << kind;
            for (auto v : r.samples) ASSERT_EQ(v, 0) << kind;
        }
    }
}

}  // namespace
