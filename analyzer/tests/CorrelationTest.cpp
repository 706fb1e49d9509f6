#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace phonomir;
using namespace phonomir::testing;

namespace {

TEST(Correlation, IdenticalChannelsGiveACrossCorrelationOfOneAtLagZero) {
    AnalyzerSettings s = analyzerSettings(0, 4096, DisplayType::Correlation, 2);
    s.correlation = 1;
    s.timeWindow = 3;
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({800, 400});
    auto block = noiseBlock(4096, 1, 21);
    std::vector<std::int16_t> stereo(8192);
    for (int i = 0; i < 4096; ++i) stereo[2 * i] = stereo[2 * i + 1] = block[i];
    analyze(engine, stereo);
    const auto& ccf = engine.channel(0).correlation;
    ASSERT_EQ(ccf.size(), 2u * 409);
    EXPECT_NEAR(ccf[409], 1.0, 1e-5);  // lag 0 sits after the 409 negative lags
    for (std::size_t k = 0; k < ccf.size(); ++k) {
        if (k != 409) {
            ASSERT_LT(ccf[k], 0.3) << k;
        }
    }
}

TEST(Correlation, DelayedRightChannelMovesTheCrossCorrelationPeakToNegativeLag) {
    AnalyzerSettings s = analyzerSettings(0, 4096, DisplayType::Correlation, 2);
    s.correlation = 1;
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({800, 400});
    const auto mono = noiseBlock(4096 + 7, 1, 22);
    std::vector<std::int16_t> stereo(8192);
    for (int i = 0; i < 4096; ++i) {
        stereo[2 * i] = mono[i + 7];
        stereo[2 * i + 1] = mono[i];  // the right channel hears everything 7 samples later
    }
    analyze(engine, stereo);
    const auto& ccf = engine.channel(0).correlation;
    EXPECT_EQ(std::max_element(ccf.begin(), ccf.end()) - ccf.begin(), 409 - 7);
}

TEST(Correlation, AutoCorrelationOfASineIsOneAtLagZeroAndNegativeAtHalfAPeriod) {
    AnalyzerSettings s = analyzerSettings(0, 8192, DisplayType::Correlation, 2);
    s.timeWindow = 3;
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({800, 400});
    analyze(engine, sineBlock(8192, 8192 / 64.0, 20000, 2));  // period 64 samples
    for (int c = 0; c < 2; ++c) {
        const auto& acf = engine.channel(c).correlation;
        ASSERT_EQ(acf.size(), 819u);
        EXPECT_FLOAT_EQ(acf[0], 1.0f);
        EXPECT_LT(acf[32], -0.95f);
        EXPECT_GT(acf[64], 0.95f);
        EXPECT_EQ(std::min_element(acf.begin(), acf.begin() + 64) - acf.begin(), 32);
    }
}

TEST(Correlation, OneChannelWithCrossChosenShowsTheAutoCorrelation) {
    AnalyzerSettings s = analyzerSettings(0, 1024, DisplayType::Correlation, 1);
    s.correlation = 1;
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({500, 200});
    analyze(engine, noiseBlock(1024, 1, 4));
    EXPECT_EQ(engine.channel(0).correlation.size(), 102u);
    EXPECT_FLOAT_EQ(engine.channel(0).correlation[0], 1.0f);
}

TEST(Correlation, PointsSpanThePlotWithoutRepeats) {
    AnalyzerSettings s = analyzerSettings(0, 1024, DisplayType::Correlation, 1);
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({300, 200});
    analyze(engine, noiseBlock(1024, 1, 8));
    const auto& points = engine.channel(0).correlationPoints;
    EXPECT_EQ(points.front().x, 0);
    EXPECT_EQ(points.front().y, 0.0f);  // value 1 at the top
    for (std::size_t k = 1; k < points.size(); ++k) {
        ASSERT_FALSE(points[k] == points[k - 1]);
        ASSERT_LT(points[k].x, 300);
        ASSERT_GE(points[k].y, 0.0f);
        ASSERT_LE(points[k].y, 200.0f);
    }
}

}  // namespace
