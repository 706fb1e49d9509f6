#include "phonomir/GeneratorSettings.h"

#include "phonomir/ByteCodec.h"

#include <gtest/gtest.h>

#include <array>

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
