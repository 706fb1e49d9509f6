#include "phonomir/GeneratorSettings.h"

#include "phonomir/ByteCodec.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using namespace phonomir;

TEST(GeneratorSettings, DefaultsEncodeAtTheirFileOffsets) {
    std::array<std::uint8_t, GeneratorSettings::kEncodedSize> bytes{};
    GeneratorSettings{}.encode(bytes);
    LittleEndianReader r(bytes);
    EXPECT_EQ(r.int32(12), 1);          // sampling-rate index 44100
    EXPECT_EQ(r.int32(24), 32767);      // digital output
    EXPECT_EQ(r.float64(32), 1000.0);   // tone frequency
    EXPECT_EQ(r.float64(52), 20.0);     // sweep from
    EXPECT_EQ(r.float64(60), 20000.0);  // sweep to
    EXPECT_EQ(r.float64(68), 0.5);      // octaves per second
    EXPECT_EQ(r.int32(92), 1);          // number of pulses
    EXPECT_EQ(r.float64(100), 10.0);    // pulse period ms
}

TEST(GeneratorSettings, EveryFieldRoundTrips) {
    GeneratorSettings s;
    s.windowX = -5; s.windowY = 700; s.signalKind = 3; s.sampleRateIndex = 6; s.levelLeft = 70;
    s.levelRight = 45; s.digitalOutput = 1234; s.interlock = 1; s.toneFrequency = 440.5;
    s.toneWaveform = 2; s.noiseKind = 1; s.noiseMode = 2; s.sweepFrom = 1000; s.sweepTo = 100;
    s.sweepRate = 1.25; s.sweepLoop = 1; s.sweepWaveform = 3; s.pulseWidthIndex = 48;
    s.pulsePolarity = 2; s.pulseCount = 3; s.pulseRepeat = 1; s.pulsePeriod = 2.5;
    std::array<std::uint8_t, GeneratorSettings::kEncodedSize> bytes{};
    s.encode(bytes);
    EXPECT_EQ(GeneratorSettings::decode(bytes), s);
}

TEST(GeneratorSettings, ClampedToRangesBringsDamagedFieldsBackAndKeepsTypedOnes) {
    GeneratorSettings s;
    s.windowX = -32768; s.windowY = 99999; s.signalKind = 9; s.sampleRateIndex = -3; s.levelLeft = 150;
    s.levelRight = -1; s.digitalOutput = 40000; s.interlock = 7; s.toneFrequency = 25000;
    s.toneWaveform = -1; s.noiseKind = 2; s.noiseMode = 3; s.sweepFrom = std::nan("");
    s.sweepTo = -std::numeric_limits<double>::infinity(); s.sweepRate = 0; s.sweepLoop = -2;
    s.sweepWaveform = 4; s.pulseWidthIndex = 49; s.pulsePolarity = -5; s.pulseCount = -3; s.pulseRepeat = 2;
    s.pulsePeriod = std::numeric_limits<double>::quiet_NaN();
    const GeneratorSettings c = s.clampedToRanges();
    EXPECT_EQ(c.windowX, -32768);
    EXPECT_EQ(c.windowY, 99999);
    EXPECT_EQ(c.signalKind, 3);
    EXPECT_EQ(c.sampleRateIndex, 0);
    EXPECT_EQ(c.levelLeft, 100);
    EXPECT_EQ(c.levelRight, 0);
    EXPECT_EQ(c.digitalOutput, 32767);
    EXPECT_EQ(c.interlock, 1);
    EXPECT_EQ(c.toneFrequency, 20000.0);
    EXPECT_EQ(c.toneWaveform, 0);
    EXPECT_EQ(c.noiseKind, 1);
    EXPECT_EQ(c.noiseMode, 2);
    EXPECT_EQ(c.sweepFrom, 20.0);
    EXPECT_EQ(c.sweepTo, 20000.0);
    EXPECT_EQ(c.sweepRate, 0.0);  // a sweep that never ends, as typed
    EXPECT_EQ(c.sweepLoop, 1);
    EXPECT_EQ(c.sweepWaveform, 3);
    EXPECT_EQ(c.pulseWidthIndex, 48);
    EXPECT_EQ(c.pulsePolarity, 0);
    EXPECT_EQ(c.pulseCount, -3);
    EXPECT_EQ(c.pulseRepeat, 1);
    EXPECT_EQ(c.pulsePeriod, 10.0);
    EXPECT_EQ(GeneratorSettings{}.clampedToRanges(), GeneratorSettings{});
}

TEST(GeneratorSettings, ClampedToRangesTurnsANotANumberToneIntoItsDefault) {
    GeneratorSettings s;
    s.toneFrequency = std::nan("");
    EXPECT_EQ(s.clampedToRanges().toneFrequency, 1000.0);
    s.toneFrequency = -5.0;
    EXPECT_EQ(s.clampedToRanges().toneFrequency, 0.0);
}
