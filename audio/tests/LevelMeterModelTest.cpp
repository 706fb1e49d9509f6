#include "phonomir/LevelMeterModel.h"

#include <gtest/gtest.h>

#include <vector>

using namespace phonomir;

namespace {

constexpr WaveFormat kMono16{1, 44100, 16};
constexpr WaveFormat kStereo16{2, 44100, 16};

std::vector<std::uint8_t> samples16(std::initializer_list<std::int16_t> values) {
    std::vector<std::uint8_t> bytes;
    for (std::int16_t v : values) {
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    return bytes;
}

TEST(LevelMeterModelTest, BarLengthsSpanMinusEightyToZeroDecibels) {
    EXPECT_EQ(LevelMeterModel::barLengthForPeak(32768, 160), 160);
    EXPECT_EQ(LevelMeterModel::barLengthForPeak(16384, 160), 148);  // -6.02 dB: 160 - trunc(12.04)
    EXPECT_EQ(LevelMeterModel::barLengthForPeak(3, 160), 0);        // -80.8 dB
    EXPECT_EQ(LevelMeterModel::barLengthForPeak(0, 160), 0);
}

TEST(LevelMeterModelTest, PeakTakesMagnitudesPerChannel) {
    const auto bytes = samples16({100, -32768, -5, 7});
    EXPECT_EQ(LevelMeterModel::peak(bytes.data(), 8, kStereo16, 0), 100);
    EXPECT_EQ(LevelMeterModel::peak(bytes.data(), 8, kStereo16, 1), 32768);
    const std::vector<std::uint8_t> eightBit = {128, 0, 130};
    EXPECT_EQ(LevelMeterModel::peak(eightBit.data(), 3, {1, 8000, 8}, 0), 32768);
}

TEST(LevelMeterModelTest, FullScaleNegativeSampleFillsTheBar) {
    LevelMeterModel meter;
    meter.setSize(200, 20);
    const auto bytes = samples16({3, -32768});
    meter.showBuffer(bytes.data(), 4, kStereo16);
    EXPECT_EQ(meter.barLength(0), 0);
    EXPECT_EQ(meter.barLength(1), 200);
}

TEST(LevelMeterModelTest, OneChannelUsesTheWholeHeightAndTwoSplitIt) {
    LevelMeterModel meter;
    meter.setSize(100, 20);
    const auto mono = samples16({32767});
    meter.showBuffer(mono.data(), 2, kMono16);
    EXPECT_FALSE(meter.twoChannels());
    EXPECT_EQ(meter.barArea(0).bottom, 20);
    const auto stereo = samples16({32767, 32767});
    const auto strips = meter.showBuffer(stereo.data(), 4, kStereo16);
    EXPECT_TRUE(meter.twoChannels());
    EXPECT_EQ(meter.barArea(0).bottom, 10);
    EXPECT_EQ(meter.barArea(1).top, 10);
    ASSERT_FALSE(strips.empty());
    EXPECT_EQ(strips[0].right, 100) << "a change of layout repaints the whole meter";
}

TEST(LevelMeterModelTest, OnlyTheChangedStripIsRepainted) {
    LevelMeterModel meter;
    meter.setSize(160, 10);
    const auto loud = samples16({32767}), half = samples16({16384});
    meter.showBuffer(loud.data(), 2, kMono16);
    const auto strips = meter.showBuffer(half.data(), 2, kMono16);
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips[0].left, 148);
    EXPECT_EQ(strips[0].right, 160);  // 32767 truncates to a full bar
    EXPECT_TRUE(meter.showBuffer(half.data(), 2, kMono16).empty());
}

}  // namespace
