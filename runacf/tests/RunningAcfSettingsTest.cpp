#include "phonomir/RunningAcfSettings.h"

#include <gtest/gtest.h>

#include <array>

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
