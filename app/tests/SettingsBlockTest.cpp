#include "phonomir/SettingsBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace phonomir;

namespace {

std::vector<std::uint8_t> pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + 7);
    return bytes;
}

std::int32_t int32At(const std::array<std::uint8_t, 424>& bytes, std::size_t offset) {
    std::int32_t v;
    std::memcpy(&v, &bytes[offset], 4);  // the test host is little-endian
    return v;
}

double doubleAt(const std::array<std::uint8_t, 424>& bytes, std::size_t offset) {
    double v;
    std::memcpy(&v, &bytes[offset], 8);
    return v;
}

}  // namespace

TEST(SettingsBlock, EmptyOrShortInputGivesEverySectionsDefaultsAtTheirOffsets) {
    for (std::size_t size : {0u, 1u, 423u}) {
        const auto bytes = SettingsBlock::decode(pattern(size)).encoded();
        for (int i = 0; i < 8; ++i) ASSERT_EQ(bytes[i], 0) << size;
        EXPECT_EQ(int32At(bytes, 8 + 12), 1);               // generator: 44100 Hz
        EXPECT_EQ(int32At(bytes, 8 + 24), 32767);           // generator: digital output
        EXPECT_EQ(doubleAt(bytes, 8 + 100), 10.0);          // generator: pulse period, last field
        EXPECT_EQ(int32At(bytes, 116 + 56), 8192);          // analyzer: FFT size
        EXPECT_EQ(int32At(bytes, 116 + 84), 0);             // analyzer: weighting, last field
        EXPECT_EQ(int32At(bytes, 116 + 80), -1);            // analyzer: no calibration
        EXPECT_EQ(int32At(bytes, 204 + 36), 9);             // oscilloscope: 1 ms/div
        EXPECT_EQ(int32At(bytes, 204 + 76), 1);             // oscilloscope: auto trigger
        EXPECT_EQ(doubleAt(bytes, 348 + 16), 2.0);          // running ACF: integration time
        EXPECT_EQ(int32At(bytes, 348 + 68), -40);           // running ACF: log range
    }
}

TEST(SettingsBlock, ImpulseResponseDefaultsAreOneFourOneOneOneAndOneAt48) {
    const auto bytes = SettingsBlock{}.encoded();
    const std::vector<std::pair<std::size_t, std::int32_t>> expected = {
        {0, 0}, {4, 0}, {8, 1}, {12, 4}, {16, 1}, {20, 1}, {24, 1}, {28, 0}, {44, 0}, {48, 1}};
    for (auto [offset, value] : expected) EXPECT_EQ(int32At(bytes, 296 + offset), value) << offset;
    for (std::size_t i = 296 + 28; i < 296 + 48; ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(SettingsBlock, ExactlyOrMoreThan424BytesRoundTripTheFirst424Unchanged) {
    for (std::size_t size : {424u, 425u, 4096u}) {
        const auto input = pattern(size);
        const auto bytes = SettingsBlock::decode(input).encoded();
        ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), input.begin())) << size;
    }
}

TEST(SettingsBlock, EachSectionIsReadFromItsOwnOffset) {
    std::array<std::uint8_t, 424> bytes{};
    auto put = [&](std::size_t offset, std::int32_t v) { std::memcpy(&bytes[offset], &v, 4); };
    bytes[0] = 0xAB;
    put(8, 101);          // generator windowX
    put(8 + 96, 102);     // generator pulseRepeat
    put(116, 201);        // analyzer windowLeft
    put(116 + 84, 3);     // analyzer weighting
    put(204, 301);        // oscilloscope windowX
    put(204 + 88, 1);     // oscilloscope xyMode
    bytes[296] = 0xCD;    // impulse response, first byte
    bytes[347] = 0xEF;    // impulse response, last byte
    put(348, 401);        // running ACF windowLeft
    put(348 + 72, 1);     // running ACF shown channel
    const auto block = SettingsBlock::decode(bytes);
    EXPECT_EQ(block.leading[0], 0xAB);
    EXPECT_EQ(block.generator.windowX, 101);
    EXPECT_EQ(block.generator.pulseRepeat, 102);
    EXPECT_EQ(block.analyzer.windowLeft, 201);
    EXPECT_EQ(block.analyzer.weighting, 3);
    EXPECT_EQ(block.oscilloscope.windowX, 301);
    EXPECT_EQ(block.oscilloscope.xyMode, 1);
    EXPECT_EQ(block.impulseResponse.front(), 0xCD);
    EXPECT_EQ(block.impulseResponse.back(), 0xEF);
    EXPECT_EQ(block.runningAcf.windowLeft, 401);
    EXPECT_EQ(block.runningAcf.shownChannel, 1);
}
