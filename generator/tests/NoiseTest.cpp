#include "SynthesisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace phonomir;
using phonomir::testing::render;

namespace {

GeneratorSettings noise(NoiseKind kind, NoiseMode mode, int amplitude = 32767) {
    GeneratorSettings s;
    s.signalKind = static_cast<int>(SignalKind::Noise);
    s.noiseKind = static_cast<int>(kind);
    s.noiseMode = static_cast<int>(mode);
    s.digitalOutput = amplitude;
    return s;
}

TEST(WhiteNoise, NeverExceedsTheAmplitudeAndHasASixthOfItAsDeviation) {
    for (int amplitude : {32767, 1000}) {
        const auto r = render(noise(NoiseKind::White, NoiseMode::Monaural, amplitude), 48000, 50);
        double sumSquares = 0;
        for (auto v : r.samples) {
            ASSERT_LE(std::abs(v), amplitude);
            sumSquares += double(v) * v;
        }
        EXPECT_NEAR(std::sqrt(sumSquares / r.samples.size()), amplitude / 6.0, amplitude * 0.01);
    }
}

TEST(WhiteNoise, InversePhaseFramesSumToZeroAndDualChannelsDiffer) {
    const auto inverse = render(noise(NoiseKind::White, NoiseMode::InversePhase), 48000, 4);
    for (std::size_t i = 0; i < inverse.samples.size(); i += 2) ASSERT_EQ(inverse.samples[i] + inverse.samples[i + 1], 0);
    const auto dual = render(noise(NoiseKind::White, NoiseMode::Dual), 48000, 4);
    int equal = 0;
    for (std::size_t i = 0; i < dual.samples.size(); i += 2) equal += dual.samples[i] == dual.samples[i + 1];
    EXPECT_LT(equal, 100);
}

TEST(WhiteNoise, SameSeedGivesTheSameNoise) {
    const auto a = render(noise(NoiseKind::White, NoiseMode::Monaural), 48000, 3);
    const auto b = render(noise(NoiseKind::White, NoiseMode::Monaural), 48000, 3);
    EXPECT_EQ(a.samples, b.samples);
}

TEST(PinkNoise, InversePhaseRightIsTheNegatedLeftInEveryFrame) {
    const auto r = render(noise(NoiseKind::Pink, NoiseMode::InversePhase), 44100, 3);
    ASSERT_EQ(r.samples.size(), 3u * 4096);
    for (std::size_t i = 0; i < r.samples.size(); i += 2) ASSERT_EQ(r.samples[i + 1], -r.samples[i]) << i;
}

TEST(PinkNoise, MonauralBufferIsTheRealBlockThenTheImaginaryBlockOfDual) {
    LagRandom first, second;
    const auto mono = render(noise(NoiseKind::Pink, NoiseMode::Monaural), 44100, 1, first);
    const auto dual = render(noise(NoiseKind::Pink, NoiseMode::Dual), 44100, 1, second);
    for (int i = 0; i < 2048; ++i) {
        ASSERT_EQ(mono.samples[i], dual.samples[2 * i]);
        ASSERT_EQ(mono.samples[2048 + i], dual.samples[2 * i + 1]);
    }
}

// Power in a band of bins of the 2048-point spectrum of each output block, averaged.
double bandPower(const std::vector<std::int16_t>& samples, int lowBin, int highBin) {
    phonomir::FftEngine fft;
    std::vector<float> re(2048), im(2048);
    double total = 0;
    for (std::size_t start = 0; start + 2048 <= samples.size(); start += 2048) {
        for (int i = 0; i < 2048; ++i) {
            re[i] = samples[start + i];
            im[i] = 0;
        }
        fft.forwardFft(2048, re.data(), im.data());
        for (int k = lowBin; k < highBin; ++k) total += double(re[k]) * re[k] + double(im[k]) * im[k];
    }
    return total;
}

TEST(PinkNoise, PowerPerOctaveIsEqualAcrossTheBand) {
    const auto r = render(noise(NoiseKind::Pink, NoiseMode::Monaural), 44100, 200);
    const double low = bandPower(r.samples, 16, 32), high = bandPower(r.samples, 256, 512);
    EXPECT_NEAR(10 * std::log10(high / low), 0.0, 1.0);
    // White noise, by contrast, has 16 times the power in the higher octave.
    const auto w = render(noise(NoiseKind::White, NoiseMode::Monaural), 44100, 200);
    EXPECT_NEAR(10 * std::log10(bandPower(w.samples, 256, 512) / bandPower(w.samples, 16, 32)), 12.0, 1.0);
}

TEST(PinkNoise, FullScaleNeverWrapsAround) {
    const auto r = render(noise(NoiseKind::Pink, NoiseMode::Dual), 48000, 100);
    for (auto v : r.samples) ASSERT_GE(v, -32767);
}

TEST(Channels, OnlyTwoChannelNoiseNeedsTwoChannels) {
    GeneratorSettings s = noise(NoiseKind::White, NoiseMode::Dual);
    EXPECT_EQ(SignalSynthesizer::channelsNeeded(s), 2);
    s.noiseMode = static_cast<int>(NoiseMode::InversePhase);
    EXPECT_EQ(SignalSynthesizer::channelsNeeded(s), 2);
    s.noiseMode = static_cast<int>(NoiseMode::Monaural);
    EXPECT_EQ(SignalSynthesizer::channelsNeeded(s), 1);
    s.noiseMode = static_cast<int>(NoiseMode::Dual);
    s.signalKind = static_cast<int>(SignalKind::Tone);
    EXPECT_EQ(SignalSynthesizer::channelsNeeded(s), 1);
}

}  // namespace
