#include "phonomir/RunningAcfAnalyzer.h"
#include "phonomir/RunningAcfSizes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

using namespace phonomir;

namespace {

class RecordingSink : public AcfFrameSink {
public:
    std::vector<std::vector<float>> frames;
    double rate = 0;
    int resets = 0;
    void resetFrames() override {
        ++resets;
        frames.clear();
    }
    void acceptFrame(const AcfFrame& frame) override {
        frames.emplace_back(frame.phi.begin(), frame.phi.end());
        rate = frame.decimatedRate;
    }
};

RunningAcfParameters flat8k(double integrationTime, double runningStep, int channels = 1, int channel = 0) {
    return {8000, channels, channel, integrationTime, runningStep, WeightingKind::Flat};
}

std::vector<std::int16_t> mixture(int frames, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-3000, 3000);
    std::vector<std::int16_t> out(frames);
    for (int f = 0; f < frames; ++f)
        out[f] = static_cast<std::int16_t>(8000 * std::sin(2 * std::numbers::pi * 37 * f / 8000.0) + noise(random));
    return out;
}

// Normalised circular ACF, in double precision, of x zero-padded to m with its DC bin removed:
// R(j) = sum_i x[i] x[(i + j) mod m] - (sum x)^2 / m, phi(j) = R(j) / R(0).
std::vector<double> referenceAcf(const std::vector<double>& x, int m) {
    std::vector<double> padded(m, 0.0);
    std::copy(x.begin(), x.end(), padded.begin());
    double sum = 0;
    for (double v : x) sum += v;
    std::vector<double> r(m);
    for (int j = 0; j < m; ++j) {
        double acc = 0;
        for (std::size_t i = 0; i < x.size(); ++i) acc += x[i] * padded[(i + j) % m];
        r[j] = acc - sum * sum / m;
    }
    for (int j = m - 1; j >= 0; --j) r[j] /= r[0];
    return r;
}

// Decimated samples [first, first + count) of one channel: every tenth frame.
std::vector<double> decimated(const std::vector<std::int16_t>& values, int channels, int channel, int first, int count) {
    std::vector<double> out;
    for (int k = first; k < first + count; ++k) out.push_back(values[(k * 10) * channels + channel]);
    return out;
}

double maxDifference(const std::vector<float>& phi, const std::vector<double>& reference) {
    double worst = 0;
    for (std::size_t j = 0; j < phi.size(); ++j) worst = std::max(worst, std::abs(phi[j] - reference[j]));
    return worst;
}

}  // namespace

TEST(RunningAcfSizes, FrameLengthFftSizeAndStepBlock) {
    EXPECT_EQ(acfFrameLength(44100, 0.5), 2205);
    EXPECT_EQ(acfFftSize(2205), 4096);
    EXPECT_EQ(acfFrameLength(44100, 1.0), 4410);
    EXPECT_EQ(acfFftSize(4410), 8192);
    EXPECT_EQ(acfFftSize(1), 1);
    EXPECT_EQ(acfFftSize(4096), 4096);
    EXPECT_EQ(acfStepFrames(44100, 0.1), 4410);
    EXPECT_EQ(acfFrameLength(44100, 0.0), 0);
    EXPECT_EQ(acfFrameLength(44100, NAN), 0);
    EXPECT_EQ(acfFrameLength(48000, 1e9), 0);
    EXPECT_EQ(acfFftSize((1 << 24) + 1), 0);
}

// Decimal entries count exactly: n = fs x T / 10 and L = fs x S as the decimals say, for every
// rate and every time from 0.01 s to 30 s in hundredths (48000 x 0.29 is 13920, not 13919).
TEST(RunningAcfSizes, DecimalEntriesGiveTheExactCounts) {
    const int rates[] = {48000, 44100, 32000, 22050, 16000, 11025, 8000};
    int checked = 0;
    for (int rate : rates) {
        for (long long hundredths = 1; hundredths <= 3000; ++hundredths) {
            char typed[16];
            std::snprintf(typed, sizeof typed, "%lld.%02lld", hundredths / 100, hundredths % 100);
            const double seconds = std::strtod(typed, nullptr);
            ASSERT_EQ(acfFrameLength(rate, seconds), rate * hundredths / 1000) << rate << " x " << typed;
            ASSERT_EQ(acfStepFrames(rate, seconds), rate * hundredths / 100) << rate << " x " << typed;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 7 * 3000);
    EXPECT_EQ(acfFrameLength(48000, 0.29), 1392);
    EXPECT_EQ(acfStepFrames(48000, 0.29), 13920);
    EXPECT_EQ(acfStepFrames(44100, 1.0 / 3), 14700);  // a true fraction still truncates
    EXPECT_EQ(acfStepFrames(44100, 0.123456), 5444);
}

// The frame count ("Number of Data") comes from the same n and L as the recomputation.
TEST(RunningAcfSizes, FrameCountIsWhatTheRecomputationDelivers) {
    struct Case {
        int rate;
        double seconds, integration, step;
    };
    const Case cases[] = {{44100, 2, 0.1, 0.1}, {44100, 5, 1, 0.5},  {8000, 3, 0.5, 0.3},  {48000, 2, 0.29, 0.07},
                          {11025, 4, 2, 0.01},  {22050, 1, 2, 0.5},  {16000, 3, 0.25, 0.25}, {32000, 2.5, 0.33, 0.11}};
    for (const Case& c : cases) {
        RecordingSink sink;
        RunningAcfAnalyzer acf(sink);
        ASSERT_TRUE(acf.Begin({c.rate, 1, 0, c.integration, c.step, WeightingKind::Flat}));
        acf.Recompute(std::vector<std::int16_t>(static_cast<std::size_t>(c.rate * c.seconds), 100));
        EXPECT_EQ(acfFrameCount(c.rate, c.integration, c.step, static_cast<std::int64_t>(c.rate * c.seconds)),
                  static_cast<std::int64_t>(sink.frames.size()))
            << c.rate << " " << c.seconds << " " << c.integration << " " << c.step;
    }
    EXPECT_EQ(acfFrameCount(44100, 0.1, 0.1, 88200), 20);  // (D - T) / S + 1 in doubles says 19
    EXPECT_EQ(acfFrameCount(44100, 1, 0.5, 5 * 44100), 9);
    EXPECT_EQ(acfFrameCount(44100, 6, 0.5, 5 * 44100), 0);
    EXPECT_EQ(acfFrameCount(44100, 1, 0.0001, 5 * 44100), 0);  // L = 4: no decimated sample per step
}

TEST(RunningAcfAnalyzer, BeginRefusesSettingsThatGiveNoFrame) {
    RecordingSink sink;
    RunningAcfAnalyzer acf(sink);
    EXPECT_FALSE(acf.Begin(flat8k(0.0, 0.5)));
    EXPECT_FALSE(acf.Begin(flat8k(1.0, 0.5, 3)));
    EXPECT_FALSE(acf.Begin(flat8k(-1.0, 0.5)));
    ASSERT_TRUE(acf.Begin({44100, 1, 0, 0.5, 0.1, WeightingKind::A}));
    EXPECT_EQ(acf.frameLength(), 2205);
    EXPECT_EQ(acf.fftSize(), 4096);
    EXPECT_DOUBLE_EQ(acf.decimatedRate(), 4410.0);
}

TEST(RunningAcfAnalyzer, SinusoidMatchesDoublePrecisionAcfWithFirstMinimumAtHalfPeriod) {
    // 40 Hz at fs' = 800 Hz: a period of 20 decimated samples.
    std::vector<std::int16_t> recording(12000);
    for (int f = 0; f < 12000; ++f)
        recording[f] = static_cast<std::int16_t>(std::lround(10000 * std::sin(2 * std::numbers::pi * 40 * f / 8000.0)));
    RecordingSink sink;
    RunningAcfAnalyzer acf(sink);
    ASSERT_TRUE(acf.Begin(flat8k(0.5, 0.5)));  // n = 400, M = 512, 400 decimated per block
    acf.Recompute(recording);
    ASSERT_EQ(sink.frames.size(), 3u);
    EXPECT_DOUBLE_EQ(sink.rate, 800.0);
    const auto& phi = sink.frames[1];
    EXPECT_EQ(phi[0], 1.0f);
    int firstMinimum = 1;
    while (phi[firstMinimum + 1] < phi[firstMinimum]) ++firstMinimum;
    EXPECT_NEAR(firstMinimum, 10, 1);
    EXPECT_LT(maxDifference(phi, referenceAcf(decimated(recording, 1, 0, 400, 400), 512)), 1e-4);
}

TEST(RunningAcfAnalyzer, RingWrapInsideABlockKeepsFramesSeamless) {
    // 240 decimated samples per block into a ring of 400: the ring wraps inside blocks.
    const auto recording = mixture(24000, 7);
    RecordingSink sink;
    RunningAcfAnalyzer acf(sink);
    ASSERT_TRUE(acf.Begin(flat8k(0.5, 0.3)));
    acf.Recompute(recording);
    ASSERT_EQ(sink.frames.size(), 9u);  // blocks 2 .. 10
    for (int b = 2; b <= 10; ++b) {
        const auto reference = referenceAcf(decimated(recording, 1, 0, 240 * b - 400, 400), 512);
        EXPECT_LT(maxDifference(sink.frames[b - 2], reference), 1e-4) << "block " << b;
    }
}

TEST(RunningAcfAnalyzer, SplittingBlocksInHalfGivesTheSameFramesAtTheSamePoints) {
    const auto recording = mixture(24000, 11);
    RecordingSink whole, halves;
    RunningAcfAnalyzer wholeAcf(whole), halvesAcf(halves);
    ASSERT_TRUE(wholeAcf.Begin(flat8k(0.5, 0.6)));
    ASSERT_TRUE(halvesAcf.Begin(flat8k(0.5, 0.6)));
    const std::span<const std::int16_t> all(recording);
    for (int b = 0; b < 5; ++b) {
        wholeAcf.Feed(all.subspan(b * 4800, 4800), 480);
        halvesAcf.Feed(all.subspan(b * 4800, 2400), 240);
        halvesAcf.Feed(all.subspan(b * 4800 + 2400, 2400), 240);
    }
    ASSERT_EQ(whole.frames.size(), 5u);
    ASSERT_EQ(halves.frames.size(), 9u);
    // Whole block j ends where half block 2j + 1 ends; the halves' first frame comes after
    // half block 1 (480 >= 400 samples).
    for (int j = 0; j < 5; ++j) EXPECT_EQ(whole.frames[j], halves.frames[2 * j]) << j;
}

TEST(RunningAcfAnalyzer, RightChannelAnalysisUsesOnlyTheRightSamples) {
    const auto right = mixture(16000, 3);
    std::vector<std::int16_t> stereo(32000);
    for (int f = 0; f < 16000; ++f) {
        stereo[2 * f] = static_cast<std::int16_t>(f % 3 ? 32767 : -32768);  // loud left, ignored
        stereo[2 * f + 1] = right[f];
    }
    RecordingSink stereoSink, monoSink;
    RunningAcfAnalyzer stereoAcf(stereoSink), monoAcf(monoSink);
    ASSERT_TRUE(stereoAcf.Begin(flat8k(0.5, 0.25, 2, 1)));
    ASSERT_TRUE(monoAcf.Begin(flat8k(0.5, 0.25)));
    stereoAcf.Recompute(stereo);
    monoAcf.Recompute(right);
    ASSERT_EQ(stereoSink.frames.size(), 7u);
    EXPECT_EQ(stereoSink.frames, monoSink.frames);
}

TEST(RunningAcfAnalyzer, FiveSecondsAtOneSecondFramesAndHalfSecondStepsGiveNineFrames) {
    RecordingSink sink;
    RunningAcfAnalyzer acf(sink);
    ASSERT_TRUE(acf.Begin(flat8k(1.0, 0.5)));
    const auto recording = mixture(40000, 5);
    acf.Recompute(recording);
    EXPECT_EQ(sink.frames.size(), 9u);  // (5 - 1) / 0.5 + 1
    acf.Recompute(recording);           // a recompute starts over
    EXPECT_EQ(sink.resets, 2);
    EXPECT_EQ(sink.frames.size(), 9u);
}

TEST(RunningAcfAnalyzer, ConstantOffsetOnWholePeriodsChangesNothingBecauseDcIsRemoved) {
    // 50 Hz at fs' = 800 Hz: 16 decimated samples per period, 32 whole periods in n = M = 512,
    // so the offset lands in the DC bin alone.
    std::vector<std::int16_t> plain(10240), offset(10240);
    for (int f = 0; f < 10240; ++f) {
        const double sine = 8000 * std::sin(2 * std::numbers::pi * 50 * f / 8000.0);
        plain[f] = static_cast<std::int16_t>(std::lround(sine));
        offset[f] = static_cast<std::int16_t>(std::lround(sine + 12000));
    }
    RecordingSink plainSink, offsetSink;
    RunningAcfAnalyzer plainAcf(plainSink), offsetAcf(offsetSink);
    ASSERT_TRUE(plainAcf.Begin(flat8k(0.64, 0.64)));
    ASSERT_TRUE(offsetAcf.Begin(flat8k(0.64, 0.64)));
    plainAcf.Recompute(plain);
    offsetAcf.Recompute(offset);
    ASSERT_EQ(plainSink.frames.size(), 2u);
    for (int j = 0; j < 512; ++j) ASSERT_NEAR(offsetSink.frames[1][j], plainSink.frames[1][j], 2e-3) << j;
}

TEST(RunningAcfAnalyzer, SilentFrameIsDeliveredAsOneThenZeros) {
    RecordingSink sink;
    RunningAcfAnalyzer acf(sink);
    ASSERT_TRUE(acf.Begin(flat8k(0.5, 0.5)));
    acf.Recompute(std::vector<std::int16_t>(8000, 0));
    ASSERT_EQ(sink.frames.size(), 2u);
    EXPECT_EQ(sink.frames[0][0], 1.0f);
    for (std::size_t j = 1; j < sink.frames[0].size(); ++j) ASSERT_EQ(sink.frames[0][j], 0.0f);
}

// Constant (filling the whole FFT, so only DC), full-scale clipped and silent input, under
// every weighting, with blocks that claim more samples than they hold: finite, bounded frames.
TEST(RunningAcfAnalyzer, ConstantClippedAndShortBlocksNeverBreakIt) {
    const std::vector<std::int16_t> constant(8000, -32768);
    std::vector<std::int16_t> clipped(8000);
    for (int f = 0; f < 8000; ++f) clipped[f] = f / 13 % 2 ? 32767 : -32768;
    for (auto kind : {WeightingKind::Flat, WeightingKind::A, WeightingKind::B, WeightingKind::C}) {
        for (const std::vector<std::int16_t>* input : {&constant, static_cast<const std::vector<std::int16_t>*>(&clipped)}) {
            RecordingSink sink;
            RunningAcfAnalyzer acf(sink);
            ASSERT_TRUE(acf.Begin({8000, 1, 0, 0.64, 0.25, kind}));  // n = M = 512
            acf.Recompute(*input);
            acf.Feed(std::span<const std::int16_t>(*input).first(35), 1000000);
            ASSERT_FALSE(sink.frames.empty());
            for (const auto& phi : sink.frames) {
                ASSERT_EQ(phi[0], 1.0f);
                for (float v : phi) ASSERT_TRUE(std::isfinite(v) && std::abs(v) <= 1.001f);
            }
        }
    }
}

TEST(RunningAcfAnalyzer, ZeroRunningStepRecomputesNothingInsteadOfLoopingForever) {
    RecordingSink sink;
    RunningAcfAnalyzer acf(sink);
    ASSERT_TRUE(acf.Begin(flat8k(0.5, 0.0)));
    acf.Recompute(mixture(8000, 1));
    EXPECT_TRUE(sink.frames.empty());
    acf.End();
    acf.Feed(mixture(100, 1), 10);  // after End: ignored
    EXPECT_TRUE(sink.frames.empty());
}
