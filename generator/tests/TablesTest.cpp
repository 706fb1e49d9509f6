#include "phonomir/LagRandom.h"
#include "phonomir/SineTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace phonomir;

TEST(SineTable, KnownEntriesAreTruncatedTowardZero) {
    const SineTable& table = SineTable::instance();
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[1], 4);          // 32767 sin(2 pi / 48000) = 4.289
    EXPECT_EQ(table[4000], 16383);   // 32767 sin(pi / 6) = 16383.5
    EXPECT_EQ(table[12000], 32767);
    EXPECT_EQ(table[24000], 0);
    EXPECT_EQ(table[36000], -32767);
    EXPECT_EQ(table[47999], -4);
}

TEST(SineTable, SecondHalfIsTheNegatedFirstHalf) {
    const SineTable& table = SineTable::instance();
    for (int i = 1; i < 24000; ++i) ASSERT_EQ(table[24000 + i], -table[i]) << i;
}

TEST(LagRandom, SameSeedRepeatsTheSequenceAndReseedingRestartsIt) {
    LagRandom a, b(LagRandom::kDefaultSeed);
    std::uint32_t first[1200];
    for (auto& w : first) w = a.nextWord();  // crosses two refreshes of the 521 words
    for (auto w : first) ASSERT_EQ(b.nextWord(), w);
    a.seed(LagRandom::kDefaultSeed);
    for (auto w : first) ASSERT_EQ(a.nextWord(), w);
    LagRandom other(42);
    int equal = 0;
    for (auto w : first) equal += other.nextWord() == w;
    EXPECT_LT(equal, 3);
}

TEST(LagRandom, DerivedValuesHaveTheirRangesAndMoments) {
    LagRandom random;
    const int count = 200000;
    double sum = 0, sumSquares = 0, uniformSum = 0;
    for (int i = 0; i < count; ++i) {
        const double u = random.uniform01(), pm = random.uniformPM1(), g = random.gauss();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        ASSERT_GE(pm, -1.0);
        ASSERT_LT(pm, 1.0);
        ASSERT_GE(g, -6.0);
        ASSERT_LT(g, 6.0);
        uniformSum += u;
        sum += g;
        sumSquares += g * g;
    }
    EXPECT_NEAR(uniformSum / count, 0.5, 0.005);
    EXPECT_NEAR(sum / count, 0.0, 0.01);
    EXPECT_NEAR(sumSquares / count, 1.0, 0.02);
}

TEST(LagRandom, BitsAreBalanced) {
    LagRandom random(7);
    int ones[32] = {};
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t w = random.nextWord();
        for (int b = 0; b < 32; ++b) ones[b] += (w >> b) & 1;
    }
    for (int b = 0; b < 32; ++b) EXPECT_NEAR(ones[b], 10000, 400) << "bit " << b;
}
