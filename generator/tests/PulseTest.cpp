#include "SynthesisTestSupport.h"

#include <gtest/gtest.h>

using namespace phonomir;
using phonomir::testing::render;

namespace {

GeneratorSettings pulses(double periodMs, int count, bool repeat, PulsePolarity polarity, int widthIndex = 0) {
    GeneratorSettings s;
    s.signalKind = static_cast<int>(SignalKind::Pulse);
    s.pulsePeriod = periodMs;
    s.pulseCount = count;
    s.pulseRepeat = repeat;
    s.pulsePolarity = static_cast<int>(polarity);
    s.pulseWidthIndex = widthIndex;
    return s;
}

std::vector<int> nonZeroPositions(const std::vector<std::int16_t>& samples) {
    std::vector<int> positions;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0) positions.push_back(static_cast<int>(i));
    return positions;
}

TEST(Pulse, ThreePulsesTenMillisecondsApartThenZerosToTheFourthBoundaryThenEnd) {
    const auto r = render(pulses(10.0, 3, false, PulsePolarity::Plus), 48000, 4);
    const auto positions = nonZeroPositions(r.samples);
    ASSERT_EQ(positions.size(), 3u);
    // The clock gains 1000/48000 ms per sample and first reaches 10 ms at the 480th sample.
    EXPECT_NEAR(positions[0], 479, 1);
    EXPECT_NEAR(positions[1] - positions[0], 480, 1);
    EXPECT_NEAR(positions[2] - positions[1], 480, 1);
    EXPECT_NEAR(static_cast<int>(r.samples.size()) - positions[2], 480, 1);
    for (int p : positions) EXPECT_EQ(r.samples[p], 32767);
    EXPECT_EQ(r.bytesPerFill.front(), 2 * static_cast<int>(r.samples.size()));
    EXPECT_EQ(r.bytesPerFill.back(), 0);
}

TEST(Pulse, AlternationWithRepeatStartsPositiveAndAlternates) {
    const auto r = render(pulses(1.0, 1, true, PulsePolarity::Alternation), 8000, 3);
    const auto positions = nonZeroPositions(r.samples);
    ASSERT_GT(positions.size(), 10u);
    for (std::size_t k = 0; k < positions.size(); ++k)
        ASSERT_EQ(r.samples[positions[k]], k % 2 == 0 ? 32767 : -32767) << k;
    for (int bytes : r.bytesPerFill) EXPECT_EQ(bytes, 8192);
}

TEST(Pulse, WidthEntryKLastsKPlusOneSamplesWithMinusPolarity) {
    const auto r = render(pulses(5.0, 2, false, PulsePolarity::Minus, 3), 8000, 2);
    const auto positions = nonZeroPositions(r.samples);
    ASSERT_EQ(positions.size(), 8u);
    for (int k = 1; k < 4; ++k) EXPECT_EQ(positions[k], positions[0] + k);
    for (int p : positions) EXPECT_EQ(r.samples[p], -32767);
}

TEST(Pulse, PeriodShorterThanOneSampleStartsAPulseAtEverySample) {
    const auto r = render(pulses(0.01, 1, true, PulsePolarity::Plus), 48000, 1);
    for (auto v : r.samples) ASSERT_EQ(v, 32767);
}

TEST(Pulse, DamagedWidthDoesNotOverflow) {
    const auto r = render(pulses(1.0, 1, false, PulsePolarity::Plus, 0x7FFFFFFF), 8000, 2);
    EXPECT_FALSE(r.samples.empty());
}

}  // namespace
