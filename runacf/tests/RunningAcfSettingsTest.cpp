#include "phonomir/RunningAcfSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace phonomir;

TEST(RunningAcfSettings, DefaultsEncodeAtTheirOffsets) {
    std::array<std::uint8_t, 76> bytes{};
    RunningAcfSettings{}.encode(bytes);
    auto int32At = [&](std::size_t offset) {
        std::int32_t v;
        std::memcpy(&v, &bytes[offset], 4);  // the test host is little-endian
        return v;
    };
    auto doubleAt = [&](std::size_t offset) {
        double v;
        std::memcpy(&v, &bytes[offset], 8);
        return v;
    };
    EXPECT_EQ(int32At(8), 1);
    EXPECT_EQ(doubleAt(16), 2.0);
    EXPECT_EQ(doubleAt(24), 0.5);
    EXPECT_EQ(doubleAt(32), 100.0);
    EXPECT_EQ(int32At(44), 16);
    EXPECT_EQ(int32At(48), 0);
    EXPECT_EQ(int32At(52), 8);
    EXPECT_EQ(int32At(56), 1);
    EXPECT_EQ(int32At(68), -40);
    EXPECT_EQ(int32At(72), 0);
}

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
