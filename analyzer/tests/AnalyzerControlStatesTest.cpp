#include "phonomir/AnalyzerControlStates.h"

#include <gtest/gtest.h>

#include <limits>

using namespace phonomir;

namespace {

AnalyzerSettings display(DisplayType type, int channels = 1) {
    AnalyzerSettings s;
    s.displayType = static_cast<int>(type);
    s.channelsMinusOne = channels - 1;
    return s;
}

TEST(AnalyzerControlStates, EachDisplayEnablesItsOwnControls) {
    const auto spectrum = controlStates(display(DisplayType::Spectrum));
    EXPECT_TRUE(spectrum.frequencyAxis && spectrum.peak && spectrum.smoothing && spectrum.frequencyAutomatic);
    EXPECT_FALSE(spectrum.peakHold || spectrum.waterfall || spectrum.acf || spectrum.ccf);
    const auto bands = controlStates(display(DisplayType::ThirdOctave));
    EXPECT_TRUE(bands.peak && bands.peakHold);
    EXPECT_FALSE(bands.frequencyAxis || bands.waterfall);
    const auto waterfall = controlStates(display(DisplayType::Waterfall));
    EXPECT_TRUE(waterfall.waterfall && waterfall.frequencyAxis);
    EXPECT_FALSE(waterfall.peak || waterfall.peakHold);
    const auto correlation = controlStates(display(DisplayType::Correlation));
    EXPECT_TRUE(correlation.acf);
    EXPECT_FALSE(correlation.ccf || correlation.smoothing || correlation.levelAutomatic || correlation.frequencyAutomatic);
    EXPECT_TRUE(controlStates(display(DisplayType::Correlation, 2)).ccf);
}

TEST(AnalyzerControlStates, LimitsFollowTheirAutomaticBoxesAndLowerFrequencyItsDisplay) {
    AnalyzerSettings s = display(DisplayType::ThirdOctave);
    EXPECT_FALSE(controlStates(s).upperFrequency);
    s.frequencyAutomatic = 0;
    s.levelAutomatic = 0;
    EXPECT_TRUE(controlStates(s).upperFrequency);
    EXPECT_FALSE(controlStates(s).lowerFrequency);  // bands start at 16 Hz whatever the setting
    EXPECT_TRUE(controlStates(s).levelLimits);
    s.displayType = static_cast<int>(DisplayType::Spectrum);
    EXPECT_TRUE(controlStates(s).lowerFrequency);
}

TEST(AnalyzerControlStates, OneChannelTurnsCrossCorrelationIntoAuto) {
    AnalyzerSettings s = display(DisplayType::Correlation, 2);
    s.correlation = 1;
    keepCorrelationPossible(s);
    EXPECT_EQ(s.correlation, 1);
    s.channelsMinusOne = 0;
    keepCorrelationPossible(s);
    EXPECT_EQ(s.correlation, 0);
}

TEST(AnalyzerControlStates, StoredChoicesOutsideTheirListsBecomeWhatTheEngineRuns) {
    AnalyzerSettings s;
    s.fftSize = 1000;
    s.weighting = 7;
    s.sampleRateIndex = 9;
    s.waterfallLines = 2;
    s.smoothing = 12;
    s.channelsMinusOne = 5;
    s.correlation = 1;
    s.waterfallDirection = -3;
    keepChoicesInTheirLists(s);
    EXPECT_EQ(s.fftSize, 8192);
    EXPECT_EQ(s.weighting, 0);
    EXPECT_EQ(s.sampleRateIndex, 6);
    EXPECT_EQ(s.waterfallLines, 5);
    EXPECT_EQ(s.smoothing, 9);
    EXPECT_EQ(s.channels(), 1);
    EXPECT_EQ(s.channelsMinusOne, 0);
    EXPECT_EQ(s.correlation, 0) << "no CCF with one channel";
    EXPECT_EQ(s.waterfallDirection, 1);
    AnalyzerSettings valid;
    valid.fftSize = 65536;
    valid.channelsMinusOne = 1;
    valid.correlation = 1;
    AnalyzerSettings kept = valid;
    keepChoicesInTheirLists(kept);
    EXPECT_EQ(kept, valid);
}

}  // namespace

TEST(AnalyzerControlStates, ClampedToRangesAlsoBoundsLimitsFlagsAndTheCalibrationId) {
    AnalyzerSettings s;
    s.windowLeft = -20000;
    s.frequencyAutomatic = 5;
    s.levelAutomatic = -1;
    s.peak = 2;
    s.peakHold = 3;
    s.lowerFrequency = -10;
    s.upperFrequency = 99999;
    s.lowerLevel = std::numeric_limits<std::int32_t>::min();
    s.upperLevel = std::numeric_limits<std::int32_t>::min();
    s.calibrationId = -7;
    s.fftSize = 3;
    const AnalyzerSettings c = s.clampedToRanges();
    EXPECT_EQ(c.windowLeft, -20000);
    EXPECT_EQ(c.frequencyAutomatic, 1);
    EXPECT_EQ(c.levelAutomatic, 1);
    EXPECT_EQ(c.peak, 1);
    EXPECT_EQ(c.peakHold, 1);
    EXPECT_EQ(c.lowerFrequency, 0);
    EXPECT_EQ(c.upperFrequency, 30000);
    EXPECT_EQ(c.lowerLevel, -AnalyzerSettings::kMostLevelDb);
    EXPECT_EQ(c.upperLevel, -AnalyzerSettings::kMostLevelDb);
    EXPECT_EQ(c.calibrationId, -1);
    EXPECT_EQ(c.fftSize, 8192);
    AnalyzerSettings stored;
    stored.calibrationId = 12;
    stored.lowerLevel = -200;
    stored.upperLevel = 40;
    EXPECT_EQ(stored.clampedToRanges(), stored);
}
