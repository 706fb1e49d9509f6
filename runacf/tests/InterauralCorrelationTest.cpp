// The running interaural cross-correlation: its running sums against a direct count, and IACC,
// tau_IACC and W_IACC of two-channel signals whose cross-correlation is known in closed form,
// through the analyzer as the window runs it.
#include "FactorTestSignals.h"
#include "phonomir/AcfFactorSeries.h"
#include "phonomir/InterauralCorrelation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace phonomir;
using namespace phonomir::test;

namespace {

constexpr int kRate = 48000;
constexpr double kLagMs = 1000.0 / kRate;  // 0.0208 ms

// IACF(-D .. D) of the last `window` frames counted pair by pair.
std::vector<float> directIacf(const std::vector<std::int16_t>& stereo, std::int64_t frames, std::int64_t window, int lags) {
    const std::int64_t start = std::max<std::int64_t>(0, frames - window);
    const auto l = [&](std::int64_t t) { return static_cast<double>(stereo[2 * t]); };
    const auto r = [&](std::int64_t t) { return static_cast<double>(stereo[2 * t + 1]); };
    double el = 0, er = 0;
    for (std::int64_t t = start; t < frames; ++t) {
        el += l(t) * l(t);
        er += r(t) * r(t);
    }
    std::vector<float> iacf;
    for (int tau = -lags; tau <= lags; ++tau) {
        double sum = 0;
        for (std::int64_t t = start; t < frames; ++t)
            if (t + tau >= start && t + tau < frames) sum += l(t) * r(t + tau);
        iacf.push_back(static_cast<float>(sum / std::sqrt(el * er)));
    }
    return iacf;
}

std::vector<std::int16_t> interleave(const std::vector<double>& left, const std::vector<double>& right) {
    std::vector<std::int16_t> stereo;
    for (std::size_t t = 0; t < left.size(); ++t) {
        stereo.push_back(sample(left[t]));
        stereo.push_back(sample(right[t]));
    }
    return stereo;
}

// right[t] = left[t - delay] (delay < 0: the left channel lags).
std::vector<std::int16_t> delayedCopy(const std::vector<double>& signal, int delay) {
    const int pad = std::abs(delay);
    // left[t] = signal[t + pad]; both channels stop |delay| samples short of either end.
    std::vector<double> left(signal.begin() + pad, signal.end() - pad);
    std::vector<double> right(signal.begin() + pad - delay, signal.end() - pad - delay);
    return interleave(left, right);
}

std::vector<AcfFactors> factorsOf(const std::vector<std::int16_t>& stereo, double integrationTime, double runningStep) {
    AcfFactorSeries series;
    RunningAcfAnalyzer analyzer(series);
    EXPECT_TRUE(analyzer.Begin({kRate, 2, 0, integrationTime, runningStep, WeightingKind::Flat, kInterauralRange}));
    EXPECT_EQ(analyzer.interauralLags(), 48);
    series.begin(factorConditionsOf(analyzer, {}, std::nullopt), 0);
    analyzer.Recompute(stereo);
    return series.frames();
}

}  // namespace

// Runs shorter and longer than a block, a window that is not yet full and one that has moved
// on, extreme samples; a window of whole blocks moved block by block (the sums of each block
// kept), then by an odd run: the sums kept block by block are those of a direct count, exactly.
TEST(InterauralCorrelation, RunningSumsEqualADirectCount) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::vector<std::int16_t> stereo(2 * 9000);
    for (auto& v : stereo) v = static_cast<std::int16_t>(value(random));
    std::fill(stereo.begin() + 200, stereo.begin() + 260, std::int16_t{-32768});
    std::vector<float> running(41);
    const auto appendAndCompare = [&](InterauralCorrelation& iacf, std::initializer_list<int> counts) {
        std::int64_t frames = 0;
        for (int count : counts) {
            iacf.append(std::span(stereo).subspan(2 * frames, 2 * count));
            frames += count;
            ASSERT_TRUE(iacf.normalised(running));
            EXPECT_EQ(running, directIacf(stereo, frames, 1000, 20)) << frames;
        }
    };
    InterauralCorrelation iacf;
    ASSERT_TRUE(iacf.begin(1000, 20, 400));
    appendAndCompare(iacf, {1, 7, 333, 399, 400, 1500, 3, 2500, 860});
    iacf.restart();
    appendAndCompare(iacf, {500});

    InterauralCorrelation blocks;
    ASSERT_TRUE(blocks.begin(1000, 20, 250));
    appendAndCompare(blocks, {250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 100, 250, 250, 250, 250, 250});
    blocks.restart();
    appendAndCompare(blocks, {250, 250, 250, 250, 250, 250, 250, 250});
}

TEST(InterauralCorrelation, ASilentChannelHasNoCorrelation) {
    InterauralCorrelation iacf;
    ASSERT_TRUE(iacf.begin(100, 4, 50));
    std::vector<std::int16_t> stereo(2 * 300, 0);
    for (std::size_t t = 0; t < 100; ++t) stereo[2 * t] = stereo[2 * t + 1] = 1000;
    std::vector<float> out(9, -2.0f);
    iacf.append(stereo);  // the window has moved past the sound: no energy is left, exactly
    EXPECT_FALSE(iacf.normalised(out));
    EXPECT_EQ(out[4], -2.0f);
    EXPECT_FALSE(InterauralCorrelation().begin(10, 10, 5));  // the lags must stay inside the window
}

// Identical channels: IACF is the channel's own ACF, exactly symmetric, so IACC = 1 at 0. For
// noise flat up to B it is sin x / x, x = 2 pi B tau, at 0.9 where x = 0.7854: W_IACC =
// 0.7854 / (pi B) = 0.125 ms at B = 2 kHz. Interpolating between lags (x moves by 0.26 per lag,
// |phi''| <= 1/3, |phi'| = 0.25) misses by at most 0.0018 ms on the width; the ACF of N = 192000
// samples spreads by sqrt(2 sum phi^2 / N) = 0.011, 0.007 ms on the width of one frame.
TEST(InterauralCorrelation, IdenticalChannelsCorrelateFullyAtZeroDelay) {
    const double B = 2000;
    const auto noise = lowPassNoise(12 * kRate, kRate, B, 6000, 41);
    const auto frames = factorsOf(interleave(noise, noise), 4.0, 2.0);
    ASSERT_EQ(frames.size(), 5u);
    const double expectedWidth = 0.7854 / (std::numbers::pi * B) * 1000;
    for (const AcfFactors& factors : frames) {
        EXPECT_EQ(factors.iacc, 1.0f);
        EXPECT_EQ(factors.tauIaccMs, 0.0f);
        EXPECT_NEAR(factors.wIaccMs, expectedWidth, 0.0018 + 3 * 0.007);
    }
}

// A copy delayed by 12 samples (0.25 ms) peaks at its delay with the height of the pairs the
// window still holds, 1 - 12 / N; the parabola through the peak moves it by far less than a
// tenth of a lag.
TEST(InterauralCorrelation, ADelayedCopyPeaksAtItsDelay) {
    const auto noise = lowPassNoise(6 * kRate, kRate, 4000, 6000, 43);
    for (int delay : {12, -12, 48}) {
        const auto frames = factorsOf(delayedCopy(noise, delay), 2.0, 1.0);
        ASSERT_EQ(frames.size(), 4u);
        for (const AcfFactors& factors : frames) {
            EXPECT_NEAR(factors.tauIaccMs, delay * kLagMs, 0.1 * kLagMs) << delay;
            EXPECT_NEAR(factors.iacc, 1 - std::abs(delay) / (2.0 * kRate), 1e-3) << delay;
        }
    }
}

// Two independent white noises: each of the 97 IACF values spreads by 1 / sqrt(N) around 0.
TEST(InterauralCorrelation, IndependentNoisesBarelyCorrelate) {
    const auto left = whiteNoise(5 * kRate, 5000, 51), right = whiteNoise(5 * kRate, 5000, 52);
    const auto frames = factorsOf(interleave(left, right), 1.0, 1.0);
    ASSERT_EQ(frames.size(), 5u);
    for (const AcfFactors& factors : frames) EXPECT_LT(factors.iacc, 6 / std::sqrt(1.0 * kRate));
}
