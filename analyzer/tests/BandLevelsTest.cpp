#include "EngineTestSupport.h"

#include "phonomir/BandTable.h"

#include <gtest/gtest.h>

using namespace phonomir;
using namespace phonomir::testing;

namespace {

struct BandEngine {
    AnalyzerSettings settings;
    SpectrumEngine engine;
    BandEngine(int rateIndex, int n) : settings(analyzerSettings(rateIndex, n, DisplayType::ThirdOctave)) {
        settings.timeWindow = 3;
        EXPECT_TRUE(engine.setupAnalysis(settings, {}));
        engine.setupDisplay({660, 300});
    }
};

TEST(BandTable, EdgesLieBetweenTheThirdOctaveCentresAndLabelsFollowTheNominalBands) {
    const auto& edge = BandTable::edges();
    EXPECT_NEAR(edge[0], 14.125, 1e-3);
    EXPECT_NEAR(edge[32], std::pow(10.0, 4.35), 1.0);
    EXPECT_EQ(edge[33], 1000000.0f);
    for (int b = 1; b <= 32; ++b) {
        const double centre = std::pow(10.0, (b + 11) / 10.0);  // band 1 = 16 Hz (10^1.2)
        EXPECT_LT(edge[b - 1], centre);
        EXPECT_GT(edge[b], centre);
    }
    EXPECT_EQ(BandTable::label(0), "ALL");
    EXPECT_EQ(BandTable::label(1), "16");
    EXPECT_EQ(BandTable::label(19), "1k");
    EXPECT_EQ(BandTable::label(32), "20k");
}

TEST(BandTable, SlotCountFollowsTheUpperFrequency) {
    EXPECT_EQ(BandTable::slotCount(20000), 33);
    EXPECT_EQ(BandTable::slotCount(10000), 30);
    EXPECT_EQ(BandTable::slotCount(24000), 33);
    EXPECT_EQ(BandTable::slotCount(4000), 26);
    EXPECT_EQ(BandTable::slotCount(20), 3);
}

TEST(BandLevels, FullScaleSineAtOneKilohertzFillsItsBandAtZeroDecibels) {
    BandEngine e(6, 65536);  // 8 kHz, df = 0.122 Hz
    analyze(e.engine, sineBlock(65536, 65536 * 1000.0 / 8000, 32767));
    const ChannelResults& r = e.engine.channel(0);
    EXPECT_NEAR(r.bandLevel[19], 0.0, 0.01);  // "1k"
    EXPECT_NEAR(r.bandLevel[0], 0.0, 0.05);   // "ALL"
    EXPECT_LT(r.bandLevel[17], -60.0);
    EXPECT_LT(r.bandLevel[21], -60.0);
}

TEST(BandLevels, AtFineResolutionEveryBandHasBinsAndMatchesItsBinPowers) {
    BandEngine e(6, 65536);
    analyze(e.engine, noiseBlock(65536, 1, 11));
    const ChannelResults& r = e.engine.channel(0);
    const auto& edge = BandTable::edges();
    const double df = 8000.0 / 65536;
    const int slots = e.engine.bandSlots();
    EXPECT_EQ(slots, 26);
    for (int b = 1; b < slots; ++b) {
        double sum = 0;
        int count = 0;
        for (int i = 1; i <= 32768; ++i)
            if (i * df >= edge[b - 1] && i * df < edge[b]) {
                sum += r.power[i];
                ++count;
            }
        ASSERT_GT(count, 0) << b;
        EXPECT_NEAR(r.bandLevel[b], 10 * std::log10((edge[b] - edge[b - 1]) / df * sum / count), 1e-6) << b;
    }
}

TEST(BandLevels, AtCoarseResolutionLowBandsAreInterpolatedOrMinusThousand) {
    BandEngine e(0, 1024);  // 48 kHz, df = 46.875 Hz
    analyze(e.engine, noiseBlock(1024, 1, 12));
    const ChannelResults& r = e.engine.channel(0);
    for (int b = 1; b <= 5; ++b) EXPECT_EQ(r.bandLevel[b], -1000.0) << b;  // 16 .. 40 Hz: nothing below
    // 63 and 80 Hz hold no bin: on the line between 50 Hz (bin 1) and 100 Hz (bin 2).
    EXPECT_NEAR(r.bandLevel[7], (2 * r.bandLevel[6] + r.bandLevel[9]) / 3, 1e-9);
    EXPECT_NEAR(r.bandLevel[8], (r.bandLevel[6] + 2 * r.bandLevel[9]) / 3, 1e-9);
}

TEST(BandLevels, PeakHoldKeepsTheMaximumForTwoSecondsOfBlocks) {
    BandEngine e(0, 8192);  // 48000 / 8192 = 5 blocks per second: hold for 10 blocks
    const auto loud = sineBlock(8192, 8192 * 1000.0 / 48000, 32767);
    const auto quiet = sineBlock(8192, 8192 * 1000.0 / 48000, 3276);
    analyze(e.engine, loud);
    const double held = e.engine.channel(0).heldLevel[19];
    for (int k = 0; k < 10; ++k) {
        analyze(e.engine, quiet);
        ASSERT_EQ(e.engine.channel(0).heldLevel[19], held) << k;
    }
    analyze(e.engine, quiet);
    EXPECT_NEAR(e.engine.channel(0).heldLevel[19], held - 20.0, 0.05);
}

TEST(BandLevels, PeakSelectsTheLoudestBandAndTheReadoutShowsItsLabel) {
    BandEngine e(1, 16384);
    e.settings.peak = 1;
    analyze(e.engine, sineBlock(16384, 16384 * 2000.0 / 44100, 20000));
    const ChannelResults& r = e.engine.channel(0);
    EXPECT_EQ(r.selectedBand, 22);
    EXPECT_EQ(r.readout.frequency.view(), "2k");
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2lf", r.bandLevel[22]);
    EXPECT_EQ(r.readout.level.view(), expected);
}

TEST(BandLevels, UpperFrequencyTenKilohertzGivesThirtySlots) {
    AnalyzerSettings s = analyzerSettings(0, 8192, DisplayType::ThirdOctave);
    s.frequencyAutomatic = 0;
    s.upperFrequency = 10000;
    SpectrumEngine engine;
    ASSERT_TRUE(engine.setupAnalysis(s, {}));
    engine.setupDisplay({600, 300});
    EXPECT_EQ(engine.bandSlots(), 30);
}

}  // namespace
