// The factors of the running ACF against signals whose autocorrelation is known in closed form,
// through the analyzer as the window and phonomir-cli run it (Flat weighting, so the spectrum
// the ACF comes from is the signal's own). Each tolerance is derived where it is used: from the
// lag resolution (linear interpolation of a crossing, the parabola through a peak) and, for
// noise, from the spread of an ACF estimated over n samples.
#include "FactorTestSignals.h"
#include "phonomir/AcfFactorSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace phonomir;
using namespace phonomir::test;

namespace {

constexpr int kRate = 48000;
constexpr double kDecimatedRate = kRate / 10.0;
constexpr double kLagMs = 1000.0 / kDecimatedRate;  // 0.2083 ms

std::vector<AcfFactors> factorsOf(const std::vector<std::int16_t>& recording, RunningAcfParameters parameters,
                                  const AcfFactorParameters& method = {}) {
    AcfFactorSeries series;
    RunningAcfAnalyzer analyzer(series);
    EXPECT_TRUE(analyzer.Begin(parameters));
    series.begin(factorConditionsOf(analyzer, method, std::nullopt), 0);
    analyzer.Recompute(recording);
    return series.frames();
}

RunningAcfParameters flat(double integrationTime, double runningStep) {
    return {kRate, 1, 0, integrationTime, runningStep, WeightingKind::Flat};
}

double mean(const std::vector<AcfFactors>& frames, float AcfFactors::*member) {
    double sum = 0;
    for (const AcfFactors& f : frames) sum += f.*member;
    return sum / static_cast<double>(frames.size());
}

}  // namespace

// A tone over a frame of n samples (w radians per sample, phase p, a whole number of periods):
// the frame's linear ACF is (n - j)/2 cos(w j) - C/2 sin(w j) / sin w with C = cos(2 p - w), so
// phi = (1 - j/n) cos(w j) - C sin(w j) / (n sin w). To first order it falls to 0.5 at 1 / (6 f):
// Wphi(0) = 1 / (3 f). The linear interpolation between lags misses a crossing by at most
// (d^2 / 8) max|phi''| / |phi'| = d^2 w / (8 sin 60 deg) (d the lag), 0.016 ms on the width
// here; the two frame terms move it by (j/n + C/n) / (w sin 60 deg), a fiftieth of that. The
// first maximum after the first minimum lies at 1 / f, moved by the taper and the frame term by
// at most (1 + w / sin w) / (n w^2) lags (0.0013 ms here), with height 1 - tau1 / T, and a
// parabola through three lags of a cosine's peak misplaces it by at most 0.016 (w d)^2 d.
TEST(AcfFactors, PureToneGivesWidthOneThirdPeriodAndFirstPeakAtThePeriod) {
    const double f = 200, amplitude = 16000, T = 1.0;
    const auto frames = factorsOf(spreadToFullRate(tone(3 * kDecimatedRate, kDecimatedRate, f, amplitude)), flat(T, 0.5));
    ASSERT_EQ(frames.size(), 5u);
    const double w = 2 * std::numbers::pi * f / kDecimatedRate, n = T * kDecimatedRate;  // per lag, lags
    const double widthTolerance = 2 * w / (8 * std::sin(std::numbers::pi / 3)) * kLagMs;  // 0.016 ms
    const double peakTolerance = ((1 + w / std::sin(w)) / (n * w * w) + 0.016 * w * w) * kLagMs;  // 0.0016 ms
    for (const AcfFactors& factors : frames) {
        EXPECT_NEAR(factors.phi0Db, 20 * std::log10(amplitude / 32767), 0.01);
        EXPECT_NEAR(factors.widthMs, 1000 / (3 * f), widthTolerance);
        EXPECT_NEAR(factors.tau1Ms, 1000 / f, peakTolerance);
        EXPECT_NEAR(factors.phi1, 1 - 1 / (f * T), 1e-4);
        EXPECT_TRUE(present(factors.taueMs));
    }
}

// Noise with a flat spectrum up to B: phi = sin(2 pi B tau) / (2 pi B tau), at 0.5 where
// sin x / x = 0.5, x = 1.89549, so Wphi(0) = 1.89549 / (pi B) = 0.603 ms at B = 1 kHz. The
// interpolation between lags (x moves by 1.31 per lag there, |phi''| <= 0.18, |phi'| = 0.43 in
// x) misses the crossing by at most 1.31^2 / 8 x 0.18 / 0.43 / (2 pi B) = 0.014 ms, 0.028 on the
// width; an ACF estimated over n samples spreads by about sqrt(2 sum phi^2 / n) = 0.011 at
// n = 38400, 0.004 ms of delay at that slope, 0.008 on the width of one frame.
TEST(AcfFactors, BandLimitedNoiseGivesTheWidthOfItsSinc) {
    const double B = 1000, T = 8.0;
    const auto noise = lowPassNoise(static_cast<std::size_t>(40 * kDecimatedRate), kDecimatedRate, B, 6000, 11);
    const auto frames = factorsOf(spreadToFullRate(noise), flat(T, 8.0));
    ASSERT_EQ(frames.size(), 5u);
    const double expected = 1.89549 / (std::numbers::pi * B) * 1000;
    for (const AcfFactors& factors : frames) EXPECT_NEAR(factors.widthMs, expected, 0.028 + 3 * 0.008);
    EXPECT_NEAR(mean(frames, &AcfFactors::widthMs), expected, 0.028 + 3 * 0.008 / std::sqrt(5.0));
}

// Noise through a one-pole resonator: phi = exp(-tau / tau0) cos(2 pi fr tau), peaks of |phi|
// every half period on the envelope, which reaches -10 dB at tau0 ln 10. The fit from 0 to -5 dB
// takes 12 peaks; an ACF estimated over n = 48000 samples spreads by about
// sqrt((1 + rho^2) / (1 - rho^2) / n) = 0.03 at each peak, up to 0.4 dB at -5 dB, which moves the
// slope of one frame by about 4 %: 16 % allowed for one frame, 5 % for the mean of six frames of
// independent noise.
TEST(AcfFactors, ResonatorNoiseGivesTheEffectiveDurationOfItsEnvelope) {
    const double tau0 = 0.010, T = 10.0;
    const auto noise = resonatorNoise(static_cast<std::size_t>(60 * kDecimatedRate), kDecimatedRate, 500, tau0, 6000, 21);
    const auto frames = factorsOf(spreadToFullRate(noise), flat(T, 10.0));
    ASSERT_EQ(frames.size(), 6u);
    const double expected = tau0 * std::log(10.0) * 1000;  // 23.03 ms
    for (const AcfFactors& factors : frames) {
        EXPECT_NEAR(factors.taueMs, expected, 0.16 * expected);
        EXPECT_EQ(factors.fit.firstMs, 0.0f);
        EXPECT_GE(factors.fit.peaks, 10);
        EXPECT_GT(factors.fit.r, 0.95f);
        EXPECT_FALSE(factors.fit.poor);
    }
    EXPECT_NEAR(mean(frames, &AcfFactors::taueMs), expected, 0.05 * expected);
}

// A tone in white noise: past lag 0, phi = S / (S + N) (1 - tau / T) cos(w tau), so the first
// peak after the origin drops by 10 log10(1 + N / S) and tau_e falls as the noise grows. At
// -10 dB only that first peak (1 ms, -10.41 dB) lies below the origin in the fit, and the line
// through both reaches -10 dB at 1 ms x 10 / 10.41; the noise's share of phi there spreads by
// about 1 / sqrt(n) = 0.005, 0.24 dB of the 0.09 the tone leaves, 2.4 % of tau_e.
TEST(AcfFactors, ToneInNoiseHasAShorterEffectiveDurationTheMoreNoise) {
    const double f = 500, T = 8.0, amplitude = 8000;
    const auto signal = tone(static_cast<std::size_t>(16 * kDecimatedRate), kDecimatedRate, f, amplitude);
    const auto noise = whiteNoise(signal.size(), 1.0, 31);
    double previous = INFINITY;
    for (double snrDb : {60.0, 20.0, 10.0, 3.0, 0.0, -3.0, -10.0}) {
        const double rms = amplitude / std::sqrt(2.0) * std::pow(10.0, -snrDb / 20);
        std::vector<double> mixture(signal.size());
        for (std::size_t k = 0; k < signal.size(); ++k) mixture[k] = signal[k] + rms * noise[k];
        const auto frames = factorsOf(spreadToFullRate(mixture), flat(T, 8.0));
        ASSERT_EQ(frames.size(), 2u);
        const double taue = mean(frames, &AcfFactors::taueMs);
        EXPECT_LT(taue, previous) << snrDb << " dB";
        previous = taue;
        if (snrDb == -10.0) {
            const double firstPeakDb = -10 * std::log10(1 + std::pow(10.0, 1.0));
            EXPECT_NEAR(taue, 1000 / (2 * f) * -10 / firstPeakDb, 0.05 * taue);
        }
    }
}

TEST(AcfFactors, SilenceHasNoFactors) {
    const auto frames = factorsOf(std::vector<std::int16_t>(2 * kRate, 0), flat(0.5, 0.5));
    ASSERT_EQ(frames.size(), 4u);
    for (const AcfFactors& factors : frames) {
        AcfFactors none;
        none.time = factors.time;
        EXPECT_EQ(factors, none);
        EXPECT_FALSE(present(factors.phi0Db));
    }
}

// The methods on curves made by hand, lag by lag (a lag of 1 ms).
TEST(AcfFactorMethods, CrossingsAndPeaksAreInterpolatedBetweenLags) {
    const std::vector<float> phi = {1.0f, 0.8f, 0.4f, 0.1f, 0.3f, 0.5f, 0.4f};
    EXPECT_FLOAT_EQ(zeroLagPeakWidthMs(phi, 1.0, 0.5), 3.5f);  // crossing at 1 + 0.3 / 0.4 lags
    const FirstPeak peak = firstPeakAfterMinimum(phi, 1.0);   // minimum at 3, maximum at 5
    EXPECT_FLOAT_EQ(peak.tauMs, 5 + 1 / 6.0f);                // parabola through 0.3, 0.5, 0.4
    EXPECT_FLOAT_EQ(peak.height, 0.5f + 0.1f / 24);
    EXPECT_EQ(acfFactorLags(8192, 4410), 3783);
    EXPECT_EQ(acfFactorLags(8192, 100), 4096);
    EXPECT_EQ(acfFactorLags(4096, 4096), 1);
    EXPECT_EQ(acfFactorLags(1, 1), 0);
}

TEST(AcfFactorMethods, ACurveThatNeverGetsThereHasNoFactor) {
    std::vector<float> falling(50);
    for (std::size_t j = 0; j < falling.size(); ++j) falling[j] = 1.0f - 0.008f * j;  // to 0.61, no minimum
    EXPECT_FALSE(present(zeroLagPeakWidthMs(falling, 1.0, 0.5)));
    EXPECT_FALSE(present(firstPeakAfterMinimum(falling, 1.0).tauMs));
    const EffectiveDuration onlyTheOrigin = effectiveDuration(falling, 1.0, {});
    EXPECT_FALSE(present(onlyTheOrigin.taueMs));
    EXPECT_EQ(onlyTheOrigin.fit.peaks, 0);

    std::vector<float> growing(400);  // peaks rising from -4.4 dB: the line does not fall
    for (std::size_t j = 0; j < growing.size(); ++j)
        growing[j] = static_cast<float>((j ? 0.6 + 0.4 * j / 400.0 : 1.0) * std::cos(0.3 * j));
    EXPECT_FALSE(present(effectiveDuration(growing, 1.0, {}).taueMs));
}

// exp(-tau / tau0) cos(theta tau) sampled without noise: the line through the peaks is that of
// the envelope, to the parabolas' placing of the peaks.
TEST(AcfFactorMethods, AnExponentialEnvelopeGivesTau0Ln10) {
    const double tau0 = 40.0;  // lags of 1 ms
    std::vector<float> phi(600);
    for (std::size_t j = 0; j < phi.size(); ++j) phi[j] = static_cast<float>(std::exp(-static_cast<double>(j) / tau0) * std::cos(0.7 * j));
    const EffectiveDuration duration = effectiveDuration(phi, 1.0, {});
    EXPECT_NEAR(duration.taueMs, tau0 * std::log(10.0), 0.005 * tau0 * std::log(10.0));
    EXPECT_EQ(duration.fit.firstMs, 0.0f);
    EXPECT_LE(duration.fit.lastMs, tau0 * std::log(10.0) / 2);  // -5 dB
    EXPECT_GT(duration.fit.peaks, 10);
    EXPECT_GT(duration.fit.r, 0.999f);
    EXPECT_FALSE(duration.fit.poor);
}

// A first peak already below the fit's end: the line runs through the origin and that peak. Peaks
// scattered about their line: the fit is kept but marked poor.
TEST(AcfFactorMethods, AFastDecayTakesOnePeakAndAScatteredOneIsPoor) {
    const std::vector<float> fast = {1.0f, 0.2f, 0.0f, 0.1f, std::pow(10.0f, -0.8f), 0.1f, 0.0f};
    const EffectiveDuration quick = effectiveDuration(fast, 1.0, {});
    EXPECT_EQ(quick.fit.peaks, 2);
    EXPECT_NEAR(quick.taueMs, 4 * 10 / 8.0, 1e-4);
    EXPECT_FALSE(quick.fit.poor);

    std::vector<float> scattered(60, 0.0f);
    scattered[0] = 1.0f;
    const float levels[] = {-4.5f, -0.2f, -4.8f, -0.5f, -4.9f, -1.0f, -5.5f};
    for (int p = 0; p < 7; ++p) scattered[4 + 4 * p] = std::pow(10.0f, levels[p] / 10);
    const EffectiveDuration poor = effectiveDuration(scattered, 1.0, {});
    EXPECT_EQ(poor.fit.peaks, 7);  // the origin and six peaks; -5.5 dB ends the range
    EXPECT_LT(poor.fit.r, 0.85f);
    EXPECT_TRUE(poor.fit.poor);
}

TEST(AcfFactorMethods, AnInterauralPeakAtTheRangesEdgeIsNotMovedNorMeasured) {
    const std::vector<float> rising = {0.1f, 0.2f, 0.3f, 0.5f, 0.7f};  // D = 2
    const InterauralFactors edge = interauralFactorsOf(rising, 0.5, 0.9);
    EXPECT_FLOAT_EQ(edge.iacc, 0.7f);
    EXPECT_FLOAT_EQ(edge.tauMs, 1.0f);
    EXPECT_FALSE(present(edge.widthMs));
    const std::vector<float> negative = {0.0f, -0.5f, -0.9f, -0.5f, 0.0f};  // |IACF| counts
    const InterauralFactors opposite = interauralFactorsOf(negative, 0.5, 0.9);
    EXPECT_FLOAT_EQ(opposite.iacc, 0.9f);
    EXPECT_FLOAT_EQ(opposite.tauMs, 0.0f);
    EXPECT_NEAR(opposite.widthMs, 2 * 0.5 * (0.9 - 0.81) / 0.4, 1e-6);
}
