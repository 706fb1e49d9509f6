#include "phonomir/RunningAcfSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using namespace phonomir;

TEST(RunningAcfSettings, EveryByteSurvivesDecodeAndEncodeIncludingReservedAndNaN) {
    std::array<std::uint8_t, 76> bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 37));
    for (std::size_t i = 16; i < 24; ++i) bytes[i] = 0xFF;  // a NaN integration time
    std::array<std::uint8_t, 76> again{};
    const auto s = RunningAcfSettings::decode(bytes);
    s.encode(again);
    EXPECT_EQ(again, bytes);
    EXPECT_EQ(s, RunningAcfSettings::decode(again));
}

TEST(RunningAcfSettings, DamagedValuesAreBroughtIntoTheirRangesBeforeUse) {
    RunningAcfSettings s;
    s.sampleRateIndex = 9;
    s.twoChannels = 5;
    s.integrationTime = std::numeric_limits<double>::quiet_NaN();
    s.runningStep = -0.5;
    s.timeRangeMs = 0.0;
    s.backward = -3;
    s.numberOfData = 0;
    s.measurementSeconds = 31;
    s.weighting = -1;
    s.logAxis = 2;
    s.absoluteValue = 7;
    s.logRangeDb = 40;
    s.shownChannel = 3;
    s.reserved = 0x5a5a;
    s.windowLeft = -20;
    const RunningAcfSettings c = s.clampedToRanges();
    EXPECT_EQ(c.sampleRateIndex, 6);
    EXPECT_EQ(c.twoChannels, 1);
    EXPECT_EQ(c.integrationTime, 2.0);
    EXPECT_EQ(c.runningStep, 0.5);
    EXPECT_EQ(c.timeRangeMs, 100.0);
    EXPECT_EQ(c.backward, 1);
    EXPECT_EQ(c.numberOfData, 1);
    EXPECT_EQ(c.measurementSeconds, 30);
    EXPECT_EQ(c.weighting, 0);
    EXPECT_EQ(c.logAxis, 1);
    EXPECT_EQ(c.absoluteValue, 1);
    EXPECT_EQ(c.logRangeDb, -40);
    EXPECT_EQ(c.shownChannel, 1);
    EXPECT_EQ(c.reserved, 0x5a5a);
    EXPECT_EQ(c.windowLeft, -20);

    s.integrationTime = std::numeric_limits<double>::infinity();
    s.runningStep = 1e9;
    s.timeRangeMs = -5;
    s.numberOfData = 1000;
    s.measurementSeconds = -2;
    const RunningAcfSettings d = s.clampedToRanges();
    EXPECT_EQ(d.integrationTime, 2.0);
    EXPECT_EQ(d.runningStep, RunningAcfSettings::kMaxSeconds);
    EXPECT_EQ(d.timeRangeMs, 100.0);
    EXPECT_EQ(d.numberOfData, 100);
    EXPECT_EQ(d.measurementSeconds, 1);
    EXPECT_EQ(RunningAcfSettings{}.clampedToRanges(), RunningAcfSettings{});
}
