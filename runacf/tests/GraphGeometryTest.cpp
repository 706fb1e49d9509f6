#include "phonomir/AcfAxisTicks.h"
#include "phonomir/AcfFactorPlot.h"
#include "phonomir/AcfWaterfallGeometry.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/RunningAcfCsv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

using namespace phonomir;

namespace {

std::string labelled(const std::vector<AxisMark>& marks, std::string (*label)(double)) {
    std::string out;
    for (const AxisMark& m : marks) out += (m.labelled ? label(m.value) : std::string("|")) + " ";
    return out;
}

}  // namespace

TEST(AcfAxisTicks, StepAndLabelsFollowTheOneTwoFiveRule) {
    const TickRule fifths = tickRule(300, 6);  // g = 50: 5 x 10
    EXPECT_EQ(fifths.step, 10);
    EXPECT_EQ(fifths.labelEvery, 5);
    const TickRule seconds = tickRule(100, 6);  // g = 16.7: 1.67 x 10
    EXPECT_EQ(seconds.step, 5);
    EXPECT_EQ(seconds.labelEvery, 2);
    const TickRule twos = tickRule(1.5, 6);  // g = 0.25: 2.5 x 0.1
    EXPECT_DOUBLE_EQ(twos.step, 0.1);
    EXPECT_EQ(twos.labelEvery, 2);
    EXPECT_TRUE(fifths.labelled(50));
    EXPECT_FALSE(fifths.labelled(40));
    EXPECT_EQ(tickRule(0, 6).step, 0);
    EXPECT_EQ(tickRule(NAN, 6).step, 0);
}

TEST(AcfAxisTicks, LagLogAndTimeAxesCarryTheirMarks) {
    EXPECT_EQ(labelled(lagMarks(100), lagLabel), "0 | 10 | 20 | 30 | 40 | 50 | 60 | 70 | 80 | 90 | 100 ");
    EXPECT_EQ(labelled(lagMarks(3000), lagLabel), "0 | | | | 500 | | | | 1k | | | | 1.5k | | | | 2k | | | | 2.5k | | | | 3k ");
    EXPECT_TRUE(lagMarks(0).empty());  // a time range of 0 gives no ticks, no division
    EXPECT_EQ(labelled(logMarks(-60), plainLabel), "0 | -10 | -20 | -30 | -40 | -50 | -60 ");
    EXPECT_EQ(logMarks(-40).size(), 41u);  // 1 dB steps, every fifth labelled
    EXPECT_TRUE(logMarks(-40)[5].labelled);
    EXPECT_EQ(labelled(timeMarks(0.0, 7.0), timeLabel), "0 | 1 | 2 | 3 | 4 | 5 | 6 | 7 ");
    EXPECT_EQ(labelled(timeMarks(0.0, 0.14), timeLabel), "0 | 20m | 40m | 60m | 80m | 0.1 | 0.12 | 0.14 ");
    const std::vector<AxisMark> scrolled = timeMarks(1.23, 0.5);  // from floor(P / step) x step
    EXPECT_DOUBLE_EQ(scrolled.front().value, 1.23);
    EXPECT_EQ(labelled(scrolled, timeLabel).substr(0, 10), "| | 1.25 |");
    EXPECT_EQ(timeLabel(0.05), "50m");
    EXPECT_EQ(lagLabel(999), "999");
}

TEST(AcfWaterfallGeometry, MarginsAndFrameShiftFollowTheFontAndN) {
    const AcfWaterfallLayout l = layoutAcfWaterfall(600, 400, {12, 6}, 16);
    EXPECT_EQ(l.plotLeft, 12 + 24 + 5);
    EXPECT_EQ(l.plotTop, 7);
    EXPECT_EQ(l.plotWidth, 600 - 41 - 35);
    EXPECT_EQ(l.plotHeight, 400 - 7 - 27);
    EXPECT_EQ(l.dx, 524 * 2 / 9 / 16);  // 7
    EXPECT_EQ(l.dy, 11);
    EXPECT_EQ(l.frontWidth, 524 - 16 * 7);
    EXPECT_EQ(l.frontHeight, 366 - 16 * 11);
    EXPECT_TRUE(l.valid());
    // N larger than two ninths of the plot width: no shift left, Start refuses.
    EXPECT_FALSE(layoutAcfWaterfall(600, 400, {12, 6}, 117).valid());
    EXPECT_TRUE(layoutAcfWaterfall(600, 400, {12, 6}, 116).valid());
}

TEST(AcfWaterfallGeometry, FrameRowsPerAxisAndASilentLagOnTheLogAxisAtTheBottom) {
    // fs' = 1000 Hz: a lag per ms; a range of 10 ms over 20 pixels: two columns per lag.
    const std::vector<float> phi = {1.0f, 0.5f, 0.0f, -0.5f, -1.0f, 0.0f, 0.1f, 0.01f, 0.0f, 0.0f,
                                    0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                    0.0f, 0.0f, 0.0f, 0.0f};  // M = 24: lags 0 .. 11
    std::vector<float> rows;
    acfFrameRows(phi, 1000.0, {AcfAxis::Linear, 10.0, -40.0}, 20, 100, rows);
    ASSERT_EQ(rows.size(), 21u);  // columns 0 .. 20, lag 10 at the right edge
    EXPECT_EQ(rows[0], 0.0f);
    EXPECT_EQ(rows[1], 12.5f);  // between lags 0 and 1
    EXPECT_EQ(rows[2], 25.0f);
    EXPECT_EQ(rows[8], 100.0f);  // -1 at the bottom
    acfFrameRows(phi, 1000.0, {AcfAxis::Absolute, 10.0, -40.0}, 20, 100, rows);
    EXPECT_EQ(rows[6], 50.0f);   // |-0.5|
    EXPECT_EQ(rows[8], 0.0f);    // |-1| at the top
    acfFrameRows(phi, 1000.0, {AcfAxis::Logarithmic, 10.0, -40.0}, 20, 100, rows);
    EXPECT_EQ(rows[0], 0.0f);
    EXPECT_NEAR(rows[12], 25.0f, 1e-4);   // 0.1: -10 dB of 40
    EXPECT_NEAR(rows[14], 50.0f, 1e-4);   // 0.01: -20 dB
    EXPECT_EQ(rows[4], 100.0f);           // phi 0: -infinity dB, held at the bottom
    EXPECT_EQ(rows[20], 100.0f);
    for (float r : rows) EXPECT_TRUE(std::isfinite(r));
    acfFrameRows(phi, 1000.0, {AcfAxis::Logarithmic, 10.0, 0.0}, 20, 100, rows);  // no dB range
    for (float r : rows) EXPECT_TRUE(r >= 0.0f && r <= 100.0f);
    acfFrameRows(phi, 1000.0, {AcfAxis::Linear, 0.0, -40.0}, 20, 100, rows);  // a time range of 0
    EXPECT_TRUE(rows.empty());
    acfFrameRows(phi, 1000.0, {AcfAxis::Linear, 1000.0, -40.0}, 20, 100, rows);  // beyond the last lag
    EXPECT_EQ(rows.size(), 1u);  // lags 0 .. 11 ms all fall into column 0
}

TEST(RunningAcfCsv, WaterfallRowsPerFrameAndLagWithinTheTimeRange) {
    AcfFrameHistory history;
    history.setLayout(2, 3);
    const std::vector<float> phi = {1.0f, 0.0f, -0.25f, 0.0f, 0.0f, 0.0f};
    history.acceptFrame({phi, 2000.0, 0.5});
    std::ostringstream out;
    CsvWriter csv(out);
    writeAcfWaterfallCsv(csv, history, {AcfAxis::Logarithmic, 0.5, -40.0});
    EXPECT_EQ(out.str(), "Time [s],Tau [ms],ACF [dB]\n0.500000,0.000000,0\n0.500000,0.500000,\n");
}

namespace {

AcfFactorSeries threeFrames(int channels) {
    AcfFactorConditions conditions;
    conditions.analysis = {44100, channels, 0, 0.5, 0.5, WeightingKind::A, channels == 2 ? kInterauralRange : 0.0};
    std::vector<AcfFactors> frames(3);
    for (int i = 0; i < 3; ++i) frames[i].time = 0.5 * (i + 1);
    frames[0].phi0Db = -20.0f;
    frames[1].phi0Db = -20.0f;
    frames[1].taueMs = 512.0f;
    frames[1].fit.r = 0.62f;
    frames[1].fit.poor = true;
    frames[2].phi1 = 0.25f;
    AcfFactorSeries series;
    series.assign(conditions, frames);
    return series;
}

}  // namespace

TEST(AcfFactorPlot, TheCursorTakesTheNearestFrameAndReadsItsFactors) {
    const AcfFactorSeries mono = threeFrames(1);
    EXPECT_EQ(frameNearest(mono, 0.74), 0);
    EXPECT_EQ(frameNearest(mono, 0.76), 1);
    EXPECT_EQ(frameNearest(mono, -3.0), 0);
    EXPECT_EQ(frameNearest(mono, 9.0), 2);
    EXPECT_EQ(frameNearest(AcfFactorSeries{}, 1.0), -1);
    EXPECT_EQ(factorReadout(mono, 1), "1.00 s   Φ(0) -20 dB   Wφ(0) -   τ1 -   φ1 -   τe 512 ms (r 0.62, poor)");
    EXPECT_EQ(factorReadout(threeFrames(2), 2).substr(factorReadout(threeFrames(2), 2).find("IACC")),
              "IACC -   τIACC -   WIACC -");
    EXPECT_EQ(factorReadout(mono, 3), "");
    EXPECT_EQ(plottedFactors(false).size(), 5u);
    EXPECT_EQ(plottedFactors(true).back(), AcfFactorKind::WidthIacc);
}

TEST(AcfFactorPlot, EachStripsAxisCoversItsValues) {
    const AcfFactorSeries series = threeFrames(1);
    const FactorAxis constant = factorAxis(series, AcfFactorKind::Phi0);  // -20 twice: widened
    EXPECT_LT(constant.low, -20.0);
    EXPECT_GT(constant.high, -20.0);
    EXPECT_FALSE(constant.marks.empty());
    const FactorAxis normalised = factorAxis(series, AcfFactorKind::Phi1);
    EXPECT_EQ(normalised.low, 0.0);
    EXPECT_EQ(normalised.high, 1.0);
    const FactorAxis none = factorAxis(series, AcfFactorKind::Tau1);
    EXPECT_TRUE(none.marks.empty());
    EXPECT_EQ(factorConditionsText(series.conditions()), "T 0.5 s, S 0.5 s, A-weighting, Lch");
}
