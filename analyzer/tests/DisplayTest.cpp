#include "EngineTestSupport.h"

#include "phonomir/DisplayRange.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace phonomir;
using namespace phonomir::testing;

namespace {

AnalyzerSettings manualFrequencies(int lower, int upper, bool logarithmic) {
    AnalyzerSettings s;
    s.frequencyAutomatic = 0;
    s.lowerFrequency = lower;
    s.upperFrequency = upper;
    s.frequencyAxis = logarithmic ? 0 : 1;
    return s;
}

TEST(DisplayRange, AutomaticFrequenciesRunFromTheBinSpacingOrTwentyHertzToHalfTheRate) {
    AnalyzerSettings s;
    DisplayRange r = computeDisplayRange(s, 44100, 1024, 0);
    EXPECT_EQ(r.lowFrequency, 43);  // 44100 / 1024 = 43 (integer division)
    EXPECT_EQ(r.highFrequency, 22050);
    r = computeDisplayRange(s, 44100, 8192, 0);
    EXPECT_EQ(r.lowFrequency, 20);
}

TEST(DisplayRange, ManualZeroToZeroOnALogarithmicAxisBecomesOneToTwentyHertz) {
    const DisplayRange r = computeDisplayRange(manualFrequencies(0, 0, true), 48000, 8192, 0);
    EXPECT_EQ(r.lowFrequency, 1);
    EXPECT_EQ(r.highFrequency, 20);
}

TEST(DisplayRange, ManualFrequenciesAreLimitedAndKeptInOrder) {
    DisplayRange r = computeDisplayRange(manualFrequencies(25000, 30000, false), 48000, 8192, 0);
    EXPECT_EQ(r.highFrequency, 24000);
    EXPECT_EQ(r.lowFrequency, 23999);
    r = computeDisplayRange(manualFrequencies(0, 500, false), 48000, 8192, 0);
    EXPECT_EQ(r.lowFrequency, 0);  // the linear axis may start at 0 Hz
    r = computeDisplayRange(manualFrequencies(-50, 500, true), 48000, 8192, 0);
    EXPECT_EQ(r.lowFrequency, 1);  // never a logarithm of a damaged negative value
}

TEST(DisplayRange, AutomaticLevelsFollowTheDisplayAndTheCalibrationOffset) {
    struct Case { DisplayType type; double offset; int high, low; };
    for (const Case& c : {Case{DisplayType::Spectrum, 0, 0, -140}, Case{DisplayType::ThirdOctave, 0, 0, -110},
                          Case{DisplayType::Waterfall, 0, 0, -110}, Case{DisplayType::Spectrum, 45.7, -20, -160},
                          Case{DisplayType::ThirdOctave, 45.7, -30, -140}, Case{DisplayType::Spectrum, -30, 40, -100},
                          Case{DisplayType::ThirdOctave, -30, 30, -80}}) {
        AnalyzerSettings s;
        s.displayType = static_cast<int>(c.type);
        const DisplayRange r = computeDisplayRange(s, 48000, 8192, c.offset);
        EXPECT_EQ(r.highLevel, c.high) << c.offset;
        EXPECT_EQ(r.lowLevel, c.low) << c.offset;
    }
}

TEST(DisplayRange, ManualLevelsThatAreEqualOpenByOneDecibel) {
    AnalyzerSettings s;
    s.levelAutomatic = 0;
    s.upperLevel = s.lowerLevel = -50;
    const DisplayRange r = computeDisplayRange(s, 48000, 8192, 0);
    EXPECT_EQ(r.highLevel, -50);
    EXPECT_EQ(r.lowLevel, -51);
}

TEST(Waterfall, RingKeepsTheLastLinesNewestFirstAndWraps) {
    AnalyzerSettings s = analyzerSettings(0, 1024, DisplayType::Waterfall);
    s.waterfallLines = 5;
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({200, 100});
    for (int k = 0; k < 7; ++k) analyze(engine, sineBlock(1024, 100, 32767.0 / (1 << k)));
    const WaterfallRing& ring = engine.waterfall();
    EXPECT_EQ(ring.filled(), 5);
    // Each block is 6 dB quieter: the newest line lies lowest on the plot at the sine's column.
    float previous = -1;
    int column = -1;
    for (int x = 0; x < 200; ++x)
        if (column < 0 || ring.line(4, 0)[x] < ring.line(4, 0)[column]) column = x;
    for (int age = 4; age >= 0; --age) {
        EXPECT_GT(ring.line(age, 0)[column], previous) << age;
        previous = ring.line(age, 0)[column];
    }
    EXPECT_EQ(engine.channel(0).readout.frequency.view(), "ALL");
}

TEST(Waterfall, LineIsLimitedToThePlotBottomAndFilledBetweenSparseColumns) {
    AnalyzerSettings s = analyzerSettings(6, 1024, DisplayType::Waterfall);
    s.frequencyAxis = 1;  // linear: 512 bins over 1000 columns leave gaps to interpolate
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({1000, 300});
    analyze(engine, noiseBlock(1024, 1, 30));
    const auto line = engine.waterfall().line(0, 0);
    int atBottom = 0;
    for (float y : line) {
        ASSERT_LE(y, 300.0f);
        ASSERT_GE(y, 0.0f);
        atBottom += y == 300.0f;
    }
    EXPECT_LT(atBottom, 10);  // only the columns left of the first bin stay empty
}

TEST(Waterfall, TimeLabelShowsSecondsFromOneSecondOnElseMilliseconds) {
    AnalyzerSettings s = analyzerSettings(1, 8192, DisplayType::Waterfall);
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({200, 100});
    char label[32];
    engine.waterfallTimeLabel(label, sizeof label);
    EXPECT_STREQ(label, "t=3.715s");  // 20 x 8192 / 44100
    s.fftSize = 1024;
    s.sampleRateIndex = 0;
    s.waterfallLines = 5;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({200, 100});
    engine.waterfallTimeLabel(label, sizeof label);
    EXPECT_STREQ(label, "t=106.7ms");
}

}  // namespace
