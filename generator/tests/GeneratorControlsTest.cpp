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
