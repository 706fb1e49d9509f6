#include "phonomir/GeneratorControls.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace phonomir;

TEST(GeneratorControls, ToneTrackbarMapsTenHertzToTwentyKilohertzLogarithmically) {
    EXPECT_EQ(toneTrackbarPosition(10), 0);
    EXPECT_EQ(toneTrackbarPosition(20000), 300);
    EXPECT_EQ(toneTrackbarPosition(5), 0);  // below the scale: its left end
    EXPECT_EQ(toneTrackbarPosition(1e6), 300);
    EXPECT_EQ(toneTrackbarPosition(1000), 181);  // 300 ln(100) / ln(2000) = 181.7
    EXPECT_NEAR(toneTrackbarFrequency(0), 10.0, 1e-9);
    EXPECT_NEAR(toneTrackbarFrequency(300), 20000.0, 1e-6);
    EXPECT_NEAR(toneTrackbarFrequency(150), std::sqrt(10.0 * 20000.0), 1e-6);  // the geometric middle
    EXPECT_NEAR(toneTrackbarFrequency(-7), 10.0, 1e-9);
}

TEST(GeneratorControls, ToneScaleTicksEachFrequencyAtItsLogarithmicPosition) {
    const std::vector<ToneScaleMark> marks = toneScaleMarks();
    ASSERT_EQ(marks.size(), 29u);  // 10..90, 100..900, 1k..9k, 10k, 20k
    const auto at = [](double f) { return static_cast<int>(300 * std::log(f / 10) / std::log(2000.0)); };
    EXPECT_EQ(marks[0].position, 0);
    EXPECT_EQ(marks[1].position, at(20));
    EXPECT_EQ(marks[9].position, at(100));
    EXPECT_EQ(marks[18].position, 181);  // 1 kHz
    EXPECT_EQ(marks[27].position, 272);  // 10 kHz: 91 % of the way
    EXPECT_EQ(marks[28].position, 300);
    std::vector<std::pair<int, std::string>> labelled;
    for (const ToneScaleMark& mark : marks)
        if (!mark.label.empty()) labelled.push_back({mark.position, mark.label});
    EXPECT_EQ(labelled, (std::vector<std::pair<int, std::string>>{{0, "10"}, {at(100), "100"}, {181, "1k"}, {272, "10k"}}));
}

TEST(GeneratorControls, LevelsBecomeVolumesByIntegerDivision) {
    EXPECT_EQ(levelToVolume(70), 45874);  // 70 x 65535 / 100 = 45874.5
    EXPECT_EQ(levelToVolume(100), 65535);
    EXPECT_EQ(levelToVolume(0), 0);
    EXPECT_EQ(levelToVolume(150), 65535);
}

TEST(GeneratorControls, PulseWidthsAreWholeSamplesInMilliseconds) {
    EXPECT_EQ(pulseWidthText(0, 48000), "0.021");
    EXPECT_EQ(pulseWidthText(47, 48000), "1.000");
    EXPECT_EQ(pulseWidthText(48, 8000), "6.125");
}
