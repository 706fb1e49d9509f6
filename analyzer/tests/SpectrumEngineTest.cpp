#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <complex>

using namespace phonomir;
using namespace phonomir::testing;

namespace {

struct Engine {
    AnalyzerSettings settings;
    MicCalibration calibration;
    SpectrumEngine engine;
    explicit Engine(AnalyzerSettings s, PlotSize plot = {1000, 400}) : settings(s) {
        EXPECT_TRUE(engine.setupAnalysis(settings, calibration));
        engine.setupDisplay(plot);
    }
};

TEST(SpectrumEngine, FullScaleSineOnABinReadsZeroDecibelsAtThatBinsFrequency) {
    Engine e(analyzerSettings(0, 1024, DisplayType::Spectrum));
    e.settings.peak = 1;
    analyze(e.engine, sineBlock(1024, 100, 32767));
    const ChannelResults& r = e.engine.channel(0);
    EXPECT_EQ(r.selectedBin, 100);
    EXPECT_EQ(r.readout.level.view(), "0.00");
    EXPECT_EQ(r.readout.frequency.view(), "4687.5");
    EXPECT_NEAR(10 * std::log10(r.power[100]), 0.0, 1e-3);
}

// 4 |X[i]|^2 of the windowed, scaled block, in double precision with the window's closed form.
std::vector<double> referencePower(const std::vector<std::int16_t>& x, int n, double gain, double (*shape)(int, int)) {
    std::vector<double> power(n / 2 + 1, 0.0);
    for (int k = 1; k <= n / 2; ++k) {
        std::complex<double> sum = 0;
        for (int j = 0; j < n; ++j)
            sum += x[j] * gain * shape(j, n) * std::polar(1.0, -2.0 * std::numbers::pi * ((long long)j * k % n) / n);
        power[k] = 4.0 * std::norm(sum) / (n * 32767.0) / (n * 32767.0);
    }
    return power;
}

double hanning(int j, int n) { return std::pow(std::sin(std::numbers::pi * j / (n - 1)), 2); }

TEST(SpectrumEngine, PowerSpectrumMatchesADoublePrecisionDftOfTheWindowedBlock) {
    AnalyzerSettings s = analyzerSettings(1, 1024, DisplayType::Spectrum);
    s.timeWindow = 3;
    Engine e(s);
    const auto block = noiseBlock(1024, 1, 5);
    analyze(e.engine, block);
    const auto want = referencePower(block, 1024, 1.0 / std::sqrt(0.375), hanning);
    double total = 0;
    for (int k = 1; k <= 512; ++k) {
        ASSERT_NEAR(e.engine.channel(0).power[k], want[k], 1e-4 * want[k] + 1e-12) << k;
        total += want[k];
    }
    EXPECT_NEAR(e.engine.channel(0).overallPower, total, 1e-5 * total);
}

TEST(SpectrumEngine, OverallLevelOfAFullScaleSineIsZeroDecibelsInEveryWindow) {
    for (int window = 0; window <= 4; ++window) {
        AnalyzerSettings s = analyzerSettings(0, 8192, DisplayType::Spectrum);
        s.timeWindow = window;
        Engine e(s);
        analyze(e.engine, sineBlock(8192, 640, 32767));
        EXPECT_NEAR(10 * std::log10(e.engine.channel(0).overallPower), 0.0, 0.05) << window;
        EXPECT_EQ(e.engine.channel(0).readout.frequency.view(), "ALL");
    }
}

TEST(SpectrumEngine, TwoChannelsAreSeparatedFromTheSharedTransform) {
    Engine e(analyzerSettings(0, 4096, DisplayType::Spectrum, 2));
    auto block = sineBlock(4096, 200, 32767, 2);
    for (int i = 0; i < 4096; ++i)  // right channel: a half-scale sine on another bin
        block[2 * i + 1] = static_cast<std::int16_t>(std::lround(16383.5 * std::sin(2 * std::numbers::pi * 300 * i / 4096)));
    analyze(e.engine, block);
    EXPECT_NEAR(10 * std::log10(e.engine.channel(0).power[200]), 0.0, 1e-3);
    EXPECT_LT(e.engine.channel(0).power[300], 1e-9);
    EXPECT_NEAR(10 * std::log10(e.engine.channel(1).power[300]), -6.02, 1e-2);
    EXPECT_LT(e.engine.channel(1).power[200], 1e-9);
}

TEST(SpectrumEngine, SmoothingNineMovesTenPercentAndZeroShowsEachBlock) {
    AnalyzerSettings s = analyzerSettings(0, 1024, DisplayType::Spectrum);
    s.smoothing = 9;
    Engine e(s);
    const auto sine = sineBlock(1024, 100, 32767);
    analyze(e.engine, sine);
    EXPECT_NEAR(e.engine.channel(0).power[100], 0.1, 1e-5);
    analyze(e.engine, sine);
    EXPECT_NEAR(e.engine.channel(0).power[100], 0.19, 1e-5);
    e.settings.smoothing = 0;  // takes effect with the next block
    analyze(e.engine, std::vector<std::int16_t>(1024, 0));
    EXPECT_EQ(e.engine.channel(0).power[100], 0.0f);
}

TEST(SpectrumEngine, OverloadGuardAnalysesAtMostTwoBlocksPerRepaint) {
    Engine e(analyzerSettings(0, 1024, DisplayType::Spectrum));
    const auto sine = sineBlock(1024, 100, 32767), silence = std::vector<std::int16_t>(1024, 0);
    e.engine.analyzeBlock(silence.data());
    e.engine.analyzeBlock(silence.data());
    e.engine.analyzeBlock(sine.data());  // dropped
    EXPECT_EQ(e.engine.channel(0).power[100], 0.0f);
    e.engine.blockPainted();
    e.engine.analyzeBlock(sine.data());
    EXPECT_GT(e.engine.channel(0).power[100], 0.9f);
}

TEST(SpectrumEngine, AWeightingAndCalibrationOffsetLowerTheLevels) {
    AnalyzerSettings s = analyzerSettings(0, 65536, DisplayType::Spectrum);
    s.weighting = 1;
    s.timeWindow = 3;  // 100 Hz at 48 kHz is not a bin centre: Hanning keeps the leakage local
    Engine e(s);
    analyze(e.engine, sineBlock(65536, 65536 * 100.0 / 48000, 32767));
    EXPECT_NEAR(10 * std::log10(e.engine.channel(0).overallPower), -19.1, 0.1);  // A(100 Hz) = -19.1 dB

    e.settings.weighting = 0;
    e.calibration.offsetDb = 10.0;
    ASSERT_TRUE(e.engine.setupAnalysis(e.settings, e.calibration));
    e.engine.setupDisplay({1000, 400});
    analyze(e.engine, sineBlock(65536, 65536 * 1000.0 / 48000, 32767));
    EXPECT_NEAR(10 * std::log10(e.engine.channel(0).overallPower), -10.0, 0.05);
}

TEST(SpectrumEngine, CalibrationResponsePointsDivideTheSpectrum) {
    Engine e(analyzerSettings(0, 8192, DisplayType::Spectrum));
    e.calibration.points = {{100, 6}, {1000, 6}, {10000, 6}};  // a microphone 6 dB hot everywhere
    ASSERT_TRUE(e.engine.setupAnalysis(e.settings, e.calibration));
    e.engine.setupDisplay({1000, 400});
    analyze(e.engine, sineBlock(8192, 500, 32767));
    EXPECT_NEAR(10 * std::log10(e.engine.channel(0).power[500]), -6.0, 1e-3);
}

TEST(SpectrumEngine, SelectionTakesBinsTwoToBelowHalfAndClears) {
    Engine e(analyzerSettings(0, 1024, DisplayType::Spectrum));
    e.engine.selectBin(1);
    e.engine.selectBin(512);
    EXPECT_EQ(e.engine.channel(0).selectedBin, 0);
    e.engine.selectBin(100);
    analyze(e.engine, sineBlock(1024, 100, 32767));
    EXPECT_EQ(e.engine.channel(0).selectedBin, 100);
    EXPECT_TRUE(e.engine.channel(0).hasMarker);
    EXPECT_EQ(e.engine.channel(0).readout.level.view(), "0.00");
    e.engine.clearSelection();  // the readout follows without waiting for a block
    EXPECT_EQ(e.engine.channel(0).readout.frequency.view(), "ALL");
    EXPECT_FALSE(e.engine.channel(0).hasMarker);
    e.engine.selectBin(100);
    EXPECT_EQ(e.engine.channel(0).readout.frequency.view(), "4687.5");
    EXPECT_EQ(e.engine.channel(0).readout.level.view(), "0.00");
}

TEST(SpectrumEngine, ReducedSpectrumKeepsEachColumnsExtremesInsideThePlot) {
    AnalyzerSettings s = analyzerSettings(1, 16384, DisplayType::Spectrum);
    Engine e(s, {300, 200});
    analyze(e.engine, noiseBlock(16384, 1, 9));
    const auto& points = e.engine.channel(0).spectrumPoints;
    ASSERT_GT(points.size(), 250u);
    for (std::size_t k = 1; k < points.size(); ++k) ASSERT_GE(points[k].x, points[k - 1].x);
    for (std::size_t k = 0; k + 1 < points.size(); ++k) ASSERT_LT(points[k].x, 300);
    EXPECT_GE(points.front().x, 0);
    // Column 150 on the log axis from 20 Hz to 22050 Hz holds the bins whose frequency maps there.
    const double df = 44100.0 / 16384, span = std::log(22050.0 / 20.0);
    double lowest = 1e9, highest = 0;
    for (int i = 1; i <= 8192; ++i)
        if (static_cast<int>(300 * std::log(i * df / 20.0) / span) == 150) {
            lowest = std::min<double>(lowest, e.engine.channel(0).power[i]);
            highest = std::max<double>(highest, e.engine.channel(0).power[i]);
        }
    auto y = [](double p) { return 200 * (10 * std::log10(p) - 0) / (-140 - 0); };
    std::vector<float> at150;
    for (const auto& p : points)
        if (p.x == 150) at150.push_back(p.y);
    ASSERT_EQ(at150.size(), 2u);
    EXPECT_NEAR(at150[0], y(lowest), 1e-3);
    EXPECT_NEAR(at150[1], y(highest), 1e-3);
}

TEST(SpectrumEngine, SilentConstantAndClippedInputLeaveEveryResultFinite) {
    std::vector<std::vector<std::int16_t>> blocks = {std::vector<std::int16_t>(2048, 0),
                                                     std::vector<std::int16_t>(2048, 12345),
                                                     std::vector<std::int16_t>(2048, -32768)};
    std::vector<std::int16_t> clipped(2048);
    for (int i = 0; i < 2048; ++i) clipped[i] = (i / 2) % 20 < 10 ? 32767 : -32768;  // a square at full scale
    blocks.push_back(clipped);
    for (int type = 0; type < 4; ++type) {
        for (const auto& block : blocks) {
            AnalyzerSettings s = analyzerSettings(0, 1024, static_cast<DisplayType>(type), 2);
            s.correlation = 1;
            s.peak = 1;
            Engine e(s);
            analyze(e.engine, block);
            for (int c = 0; c < 2; ++c) {
                const ChannelResults& r = e.engine.channel(c);
                for (float p : r.power) ASSERT_TRUE(std::isfinite(p));
                for (float v : r.correlation) ASSERT_TRUE(std::isfinite(v));
                for (const auto& p : r.spectrumPoints) ASSERT_TRUE(std::isfinite(p.y));
                for (const auto& p : r.correlationPoints) ASSERT_TRUE(std::isfinite(p.y));
            }
            for (int age = 0; age < e.engine.waterfall().filled(); ++age)
                for (float y : e.engine.waterfall().line(age, 0)) ASSERT_TRUE(std::isfinite(y));
        }
    }
}

TEST(SpectrumEngine, SilenceLeavesTheLevelReadoutEmpty) {
    AnalyzerSettings s = analyzerSettings(0, 1024, DisplayType::Spectrum);
    Engine e(s);
    analyze(e.engine, std::vector<std::int16_t>(1024, 0));
    EXPECT_EQ(e.engine.channel(0).readout.level.view(), "");
    EXPECT_EQ(e.engine.channel(0).readout.frequency.view(), "ALL");
    EXPECT_TRUE(e.engine.channel(0).spectrumPoints.empty());
}

TEST(SpectrumEngine, DamagedStoredSettingsFallBackToUsableValues) {
    AnalyzerSettings s = analyzerSettings(42, 12345, static_cast<DisplayType>(7));
    s.timeWindow = 99;
    s.smoothing = -4;
    s.waterfallLines = 1000;
    Engine e(s);
    EXPECT_EQ(e.engine.fftSize(), 8192);
    EXPECT_EQ(e.engine.rate(), 8000);
    analyze(e.engine, noiseBlock(8192, 1, 3));
    EXPECT_GT(e.engine.channel(0).overallPower, 0.0);
}

// Whatever the caller does next, setupAnalysis leaves a block safe to analyse: before any
// setupDisplay, and after a change to two channels without a new one.
TEST(SpectrumEngine, BlockRightAfterSetupAnalysisIsSafeInEveryDisplay) {
    for (DisplayType type : {DisplayType::Spectrum, DisplayType::ThirdOctave, DisplayType::Waterfall,
                             DisplayType::Correlation}) {
        AnalyzerSettings s = analyzerSettings(0, 1024, type, 2);
        SpectrumEngine engine;
        ASSERT_TRUE(engine.setupAnalysis(s, {}));
        for (int block = 0; block < 3; ++block) analyze(engine, noiseBlock(1024, 2, block));
        EXPECT_GT(engine.channel(1).overallPower + (type == DisplayType::Correlation ? 1 : 0), 0.0);
    }
    Engine e(analyzerSettings(0, 1024, DisplayType::Waterfall, 1), {300, 200});
    e.settings.channelsMinusOne = 1;
    ASSERT_TRUE(e.engine.setupAnalysis(e.settings, e.calibration));
    for (int block = 0; block < 2 * e.settings.waterfallLines; ++block) analyze(e.engine, noiseBlock(1024, 2, block));
    const WaterfallRing& ring = e.engine.waterfall();
    ASSERT_EQ(ring.filled(), e.settings.waterfallLines);
    ASSERT_EQ(ring.width(), 300);
    for (int age = 0; age < ring.filled(); ++age)
        for (int channel = 0; channel < 2; ++channel)
            for (float y : ring.line(age, channel)) ASSERT_TRUE(y >= 0 && y <= 200) << age << " " << channel;
}

}  // namespace
