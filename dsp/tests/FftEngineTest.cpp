#include "phonomir/FftEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

using phonomir::FftEngine;

namespace {

struct Signal {
    std::vector<float> re, im;
};

Signal randomSignal(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    Signal s{std::vector<float>(n), std::vector<float>(n)};
    for (int i = 0; i < n; ++i) {
        s.re[i] = uniform(rng);
        s.im[i] = uniform(rng);
    }
    return s;
}

// Plain O(n^2) DFT in double precision, with the angle reduced exactly by (j k mod n).
std::vector<std::complex<double>> referenceDft(const Signal& s, bool inverse) {
    const int n = static_cast<int>(s.re.size());
    const double sign = inverse ? 1.0 : -1.0;
    std::vector<std::complex<double>> out(n);
    for (int k = 0; k < n; ++k) {
        std::complex<double> sum = 0;
        for (int j = 0; j < n; ++j) {
            const long long phase = (static_cast<long long>(j) * k) % n;
            const double angle = sign * 2.0 * std::numbers::pi * phase / n;
            sum += std::complex<double>(s.re[j], s.im[j]) * std::polar(1.0, angle);
        }
        out[k] = sum;
    }
    return out;
}

double relativeRmsError(const Signal& got, const std::vector<std::complex<double>>& want) {
    double err = 0, ref = 0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        err += std::norm(std::complex<double>(got.re[i], got.im[i]) - want[i]);
        ref += std::norm(want[i]);
    }
    return std::sqrt(err / ref);
}

double relativeRmsDifference(const Signal& a, const Signal& b) {
    double err = 0, ref = 0;
    for (std::size_t i = 0; i < a.re.size(); ++i) {
        err += std::pow(a.re[i] - b.re[i], 2) + std::pow(a.im[i] - b.im[i], 2);
        ref += std::pow(b.re[i], 2) + std::pow(b.im[i], 2);
    }
    return std::sqrt(err / ref);
}

class FftAgainstReference : public ::testing::TestWithParam<int> {};

TEST_P(FftAgainstReference, ForwardAndInverseMatchDoublePrecisionDft) {
    const int n = GetParam();
    for (bool vectorised : {false, true}) {
        for (bool inverse : {false, true}) {
            FftEngine engine;
            engine.setVectorised(vectorised);
            Signal s = randomSignal(n, 1234 + n);
            const auto want = referenceDft(s, inverse);
            ASSERT_EQ(inverse ? engine.inverseFft(n, s.re.data(), s.im.data())
                              : engine.forwardFft(n, s.re.data(), s.im.data()),
                      0);
            EXPECT_LT(relativeRmsError(s, want), 2e-6) << "n=" << n << " vectorised=" << vectorised;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FftAgainstReference, ::testing::Values(4, 8, 16, 64, 128, 256, 1024, 2048));

TEST(FftEngine, FastArrangementAgreesWithTextbookOrderAtEveryAnalyzerSize) {
    for (int n = 64; n <= 65536; n *= 2) {
        for (bool inverse : {false, true}) {
            Signal fast = randomSignal(n, n), textbook = fast;
            FftEngine engine;
            inverse ? engine.inverseFft(n, fast.re.data(), fast.im.data())
                    : engine.forwardFft(n, fast.re.data(), fast.im.data());
            engine.textbookFft(n, textbook.re.data(), textbook.im.data(), inverse);
            EXPECT_LT(relativeRmsDifference(fast, textbook), 1e-6) << "n=" << n;
        }
    }
}

TEST(FftEngine, UnitImpulseTransformsToOnesAndBackToN) {
    const int n = 1024;
    std::vector<float> re(n, 0.0f), im(n, 0.0f);
    re[0] = 1.0f;
    FftEngine engine;
    ASSERT_EQ(engine.forwardFft(n, re.data(), im.data()), 0);
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(re[i], 1.0f) << i;
        ASSERT_EQ(im[i], 0.0f) << i;
    }
    ASSERT_EQ(engine.inverseFft(n, re.data(), im.data()), 0);
    EXPECT_FLOAT_EQ(re[0], static_cast<float>(n));
    for (int i = 1; i < n; ++i) ASSERT_NEAR(re[i], 0.0f, 1e-3f) << i;
}

TEST(FftEngine, CosineOfMCyclesGivesHalfNAtBinsMAndNMinusM) {
    const int n = 4096, m = 37;
    std::vector<float> re(n), im(n, 0.0f);
    for (int j = 0; j < n; ++j) re[j] = static_cast<float>(std::cos(2.0 * std::numbers::pi * m * j / n));
    FftEngine engine;
    engine.forwardFft(n, re.data(), im.data());
    for (int k = 0; k < n; ++k) {
        const double magnitude = std::hypot(re[k], im[k]);
        const double expected = (k == m || k == n - m) ? n / 2.0 : 0.0;
        ASSERT_NEAR(magnitude, expected, 2e-3) << k;
    }
}

TEST(FftEngine, InverseOfForwardIsNTimesTheInput) {
    const int n = 16384;
    const Signal original = randomSignal(n, 99);
    Signal s = original;
    FftEngine engine;
    engine.forwardFft(n, s.re.data(), s.im.data());
    engine.inverseFft(n, s.re.data(), s.im.data());
    for (float& v : s.re) v /= n;
    for (float& v : s.im) v /= n;
    EXPECT_LT(relativeRmsDifference(s, original), 1e-6);
}

TEST(FftEngine, AlternatingSizesOnOneEngineRebuildTablesAndStayCorrect) {
    FftEngine engine;
    for (int n : {1024, 64, 2048, 1024, 8}) {
        Signal s = randomSignal(n, n + 7);
        const auto want = referenceDft(s, false);
        engine.forwardFft(n, s.re.data(), s.im.data());
        EXPECT_EQ(engine.cachedSize(), n);
        EXPECT_LT(relativeRmsError(s, want), 2e-6) << n;
    }
    EXPECT_EQ(engine.forwardFft(0, nullptr, nullptr), 0);
    EXPECT_EQ(engine.cachedSize(), 0);
}

TEST(FftEngine, SineTableHoldsSinesAndCosinesOverFiveQuarters) {
    const int n = 65536;
    std::vector<float> re(n, 0.0f), im(n, 0.0f);
    FftEngine engine;
    engine.forwardFft(n, re.data(), im.data());
    const auto& table = engine.sineTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(n + n / 4));
    for (std::size_t k = 0; k < table.size(); k += 7)
        ASSERT_NEAR(table[k], std::sin(2.0 * std::numbers::pi * k / n), 2e-7) << k;
    EXPECT_EQ(table[n / 4], 1.0f);
    EXPECT_EQ(table[n / 8], static_cast<float>(std::sqrt(0.5)));
}

TEST(FftEngine, RejectsSizesThatAreNotPowersOfTwo) {
    FftEngine engine;
    std::vector<float> re(12), im(12);
    EXPECT_EQ(engine.forwardFft(12, re.data(), im.data()), 1);
    EXPECT_EQ(engine.forwardFft(-4, re.data(), im.data()), 1);
}

}  // namespace
