// The stored form of a factor series (ACFFACT's sizes and its two memos): a round trip, the
// layout at its offsets, and memos that were damaged or written by another layout.
#include "phonomir/AcfFactorMemo.h"
#include "phonomir/ByteCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace phonomir;

namespace {

AcfFactorConditions stereoConditions() {
    AcfFactorConditions c;
    c.analysis = {48000, 2, 1, 2.0, 0.01, WeightingKind::A, kInterauralRange};
    c.frameLength = 9600;
    c.fftSize = 16384;
    c.stepFrames = 480;
    c.method.fitEndDb = -6.0;
    c.calibrationDb = 94.5;
    return c;
}

AcfFactorSeries twoFrames() {
    AcfFactors first;
    first.time = 2.0;
    first.phi0Db = -12.5f;
    first.widthMs = 0.61f;
    first.taueMs = 23.0f;
    first.fit = {0.0f, 11.0f, 12, 0.8f, true};
    first.iacc = 0.93f;
    first.tauIaccMs = -0.25f;
    AcfFactors second;  // silence: nothing but its time
    second.time = 2.01;
    AcfFactorSeries series;
    series.assign(stereoConditions(), {first, second});
    return series;
}

void expectSameSeries(const AcfFactorSeries& a, const AcfFactorSeries& b) {
    EXPECT_TRUE(a.conditions().sameAnalysis(b.conditions()));
    EXPECT_EQ(a.conditions().calibrationDb, b.conditions().calibrationDb);
    EXPECT_EQ(a.frames(), b.frames());
}

}  // namespace

TEST(AcfFactorMemo, ARoundTripKeepsEveryFactorAndCondition) {
    const AcfFactorSeries series = twoFrames();
    const auto memos = encodeAcfFactors(series);
    ASSERT_TRUE(memos);
    EXPECT_EQ(memos->conditionSize, 128);
    EXPECT_EQ(memos->factorSize, 56);
    EXPECT_EQ(memos->count, 2);
    const auto back = decodeAcfFactors(*memos);
    ASSERT_TRUE(back);
    expectSameSeries(*back, series);

    AcfFactorSeries mono;
    AcfFactorConditions conditions = stereoConditions();
    conditions.analysis.channels = 1;
    conditions.analysis.analysedChannel = 0;
    conditions.analysis.interauralRange = 0;
    conditions.calibrationDb.reset();
    mono.assign(conditions, {});
    const auto empty = decodeAcfFactors(*encodeAcfFactors(mono));
    ASSERT_TRUE(empty);
    expectSameSeries(*empty, mono);
}

TEST(AcfFactorMemo, FieldsLieLittleEndianAtTheirOffsets) {
    const auto memos = encodeAcfFactors(twoFrames());
    const LittleEndianReader conditions(memos->conditions), factors(memos->factors);
    EXPECT_EQ(conditions.uint32(0), 1u);
    EXPECT_EQ(conditions.int32(4), 48000);
    EXPECT_EQ(conditions.int32(12), 1);
    EXPECT_EQ(conditions.float64(24), 0.01);
    EXPECT_EQ(conditions.int32(36), 10);
    EXPECT_EQ(conditions.int32(52), 6785);  // lags read: M - n + 1
    EXPECT_EQ(conditions.float64(72), -6.0);
    EXPECT_EQ(conditions.float64(96), 0.001);
    EXPECT_EQ(conditions.uint32(112), 1u);
    EXPECT_EQ(conditions.float64(120), 94.5);
    EXPECT_EQ(factors.float64(0), 2.0);
    EXPECT_EQ(factors.float32(8), -12.5f);
    EXPECT_EQ(factors.float32(44), -0.25f);
    EXPECT_EQ(factors.uint16(52), 12);
    // Phi(0), Wphi(0), tau_e, the fit's four, IACC and tau_IACC present; the fit poor.
    EXPECT_EQ(factors.uint16(54), 0b1011'1111'0011);
    EXPECT_EQ(factors.float64(56), 2.01);
    EXPECT_EQ(factors.uint16(56 + 54), 0);
}

TEST(AcfFactorMemo, DamagedMemosGiveNoSeries) {
    const AcfFactorMemos good = *encodeAcfFactors(twoFrames());
    const std::vector<std::pair<const char*, std::function<void(AcfFactorMemos&)>>> damages = {
        {"version", [](AcfFactorMemos& m) { m.conditions[0] = 2; }},
        {"condition size", [](AcfFactorMemos& m) { m.conditionSize = 127; }},
        {"short conditions", [](AcfFactorMemos& m) { m.conditions.resize(100); m.conditionSize = 100; }},
        {"factor size", [](AcfFactorMemos& m) { m.factorSize = 28; m.count = 4; }},
        {"count past the memo", [](AcfFactorMemos& m) { m.count = 3; }},
        {"negative count", [](AcfFactorMemos& m) { m.count = -1; }},
        {"count beyond four digits", [](AcfFactorMemos& m) { m.count = 10000; }},
        {"channels", [](AcfFactorMemos& m) { m.conditions[8] = 3; }},
        {"integration time", [](AcfFactorMemos& m) { LittleEndianWriter(m.conditions).putDouble(16, NAN); }},
        {"FFT size", [](AcfFactorMemos& m) { LittleEndianWriter(m.conditions).putInt32(44, 8192); }},
        {"decimation", [](AcfFactorMemos& m) { m.conditions[36] = 5; }},
        {"time", [](AcfFactorMemos& m) { LittleEndianWriter(m.factors).putDouble(56, INFINITY); }},
    };
    for (const auto& [what, damage] : damages) {
        AcfFactorMemos memos = good;
        damage(memos);
        EXPECT_FALSE(decodeAcfFactors(memos)) << what;
    }
}

// A value flagged present that is not a number reads as absent; records and conditions longer
// than this layout's (fields appended by a later one) are read for the fields it knows.
TEST(AcfFactorMemo, OddValuesAndLongerRecordsStillRead) {
    AcfFactorMemos memos = *encodeAcfFactors(twoFrames());
    LittleEndianWriter(memos.factors).putFloat(12, NAN);
    memos.conditions.resize(136, 0xAA);
    memos.conditionSize = 136;
    std::vector<std::uint8_t> longer;
    for (int i = 0; i < 2; ++i) {
        longer.insert(longer.end(), memos.factors.begin() + 56 * i, memos.factors.begin() + 56 * (i + 1));
        longer.insert(longer.end(), 8, 0x55);
    }
    memos.factors = longer;
    memos.factorSize = 64;
    const auto series = decodeAcfFactors(memos);
    ASSERT_TRUE(series);
    ASSERT_EQ(series->frames().size(), 2u);
    EXPECT_FALSE(present(series->frames()[0].widthMs));
    EXPECT_EQ(series->frames()[0].tauIaccMs, -0.25f);
    EXPECT_EQ(series->frames()[1].time, 2.01);
}

TEST(AcfFactorMemo, MoreFramesThanTheRecordCanCountAreNotStored) {
    AcfFactorSeries series;
    series.assign(stereoConditions(), std::vector<AcfFactors>(10000));
    EXPECT_FALSE(encodeAcfFactors(series));
    series.assign(stereoConditions(), std::vector<AcfFactors>(9999));
    EXPECT_TRUE(encodeAcfFactors(series));
    EXPECT_FALSE(encodeAcfFactors(AcfFactorSeries{}));  // none held
}
