#include "phonomir/OscilloscopeSettings.h"
#include "phonomir/ScopeTiming.h"
#include "phonomir/SweepTimeTable.h"

#include <gtest/gtest.h>

#include <array>

using namespace phonomir;

TEST(OscilloscopeSettings, FieldsLieAtFourByteStepsInRecordOrderAndRoundTrip) {
    std::array<std::uint8_t, 92> bytes{};
    for (int k = 0; k < 23; ++k) bytes[4 * k] = static_cast<std::uint8_t>(k + 1);
    bytes[4 * 11 + 3] = 0xFF;  // triggerLevel: 0xFF00000C
    const auto s = OscilloscopeSettings::decode(bytes);
    EXPECT_EQ(s.windowX, 1);
    EXPECT_EQ(s.sampleRateIndex, 3);
    EXPECT_EQ(s.sweepTimeIndex, 10);
    EXPECT_EQ(s.triggerLevel, static_cast<std::int32_t>(0xFF00000C));
    EXPECT_EQ(s.xyMode, 23);
    std::array<std::uint8_t, 92> again{};
    s.encode(again);
    EXPECT_EQ(again, bytes);
}

TEST(OscilloscopeSettings, ClampingForcesStoredValuesIntoTheirRanges) {
    OscilloscopeSettings s;
    s.gainExponentLeft = 40;
    s.gainExponentRight = -3;
    s.triggerLevel = 1 << 30;
    s.sweepTimeIndex = 99;
    s.delayRangeIndex = -1;
    s.autoLevel = 7;
    s.triggerChannel = 1;  // with one channel there is no Rch to trigger on
    s.xyMode = 1;
    const auto c = s.clampedToRanges();
    EXPECT_EQ(c.gainExponentLeft, 15);
    EXPECT_EQ(c.gainExponentRight, 0);
    EXPECT_EQ(c.triggerLevel, 50);
    EXPECT_EQ(c.sweepTimeIndex, 15);
    EXPECT_EQ(c.delayRangeIndex, 0);
    EXPECT_EQ(c.autoLevel, 1);
    EXPECT_EQ(c.triggerChannel, 0);
    EXPECT_EQ(c.xyMode, 0);
}

TEST(ScopeTiming, OneMillisecondPerDivisionAt44100HzGives617SweepAnd2756BlockFrames) {
    const auto t = ScopeTiming::compute(OscilloscopeSettings{}, 44100, 0);
    EXPECT_EQ(t.sweepSamples, 617);  // 44100 x 0.001 x 14 = 617.4
    EXPECT_EQ(t.blockFrames, 2756);
    EXPECT_DOUBLE_EQ(t.msPerDiv, 1.0);
}

TEST(ScopeTiming, FiveMillisecondDelayIs240FramesAt48kAnd40At8k) {
    OscilloscopeSettings s;
    s.delayRangeIndex = 1;  // 10 ms range, trackbar at 50
    EXPECT_DOUBLE_EQ(ScopeTiming::compute(s, 48000, 50).delayMs, 5.0);
    EXPECT_EQ(ScopeTiming::compute(s, 48000, 50).delaySamples, 240);
    EXPECT_EQ(ScopeTiming::compute(s, 8000, 50).delaySamples, 40);
}

TEST(ScopeTiming, SweepTableEndsAndTheFastestSweepStillSpansOneFrame) {
    EXPECT_EQ(sweepTimeSeconds(0), 1.0);
    EXPECT_EQ(sweepTimeSeconds(15), 0.00001);
    OscilloscopeSettings s;
    s.sweepTimeIndex = 15;
    EXPECT_EQ(ScopeTiming::compute(s, 8000, 0).sweepSamples, 1);  // 1.12 frames
    EXPECT_GE(ScopeTiming::compute(s, 0, 0).sweepSamples, 1);     // nonsense rate, still >= 1
    EXPECT_GE(ScopeTiming::compute(s, 0, 0).blockFrames, 1);
}
