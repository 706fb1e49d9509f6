#include "phonomir/CorrelationShading.h"
#include "phonomir/LagTicks.h"
#include "phonomir/WaterfallDepth.h"
#include "phonomir/WaterfallHorizon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace phonomir;

namespace {

const PlotRect kPlot{30, 5, 1240, 600};

int majorCount(const std::vector<LagTick>& ticks) {
    int count = 0;
    for (const LagTick& t : ticks) count += t.major;
    return count;
}

TEST(LagTicks, AcfAtOneThousandTwentyFourPointsTicksEveryTenthOfAMillisecond) {
    const double span = 1024.0 / (10 * 48000);  // 2.133 ms: h/p = 2.13, step p, major every 2
    std::vector<LagTick> ticks;
    lagTicks(span, false, kPlot, ticks);
    ASSERT_EQ(ticks.size(), 22u);  // 0 .. 2.1 ms
    EXPECT_EQ(majorCount(ticks), 11);
    EXPECT_EQ(ticks[0].x, kPlot.left);
    EXPECT_FALSE(ticks[0].line);  // the frame is already there
    EXPECT_TRUE(ticks[0].major);
    EXPECT_DOUBLE_EQ(ticks[4].lagMs, 0.4);
    EXPECT_EQ(ticks[4].x, kPlot.left + static_cast<int>(1240 * 0.0004 / span));
    EXPECT_TRUE(ticks[1].line);
}

TEST(LagTicks, ARatioOfFiveOrMoreMakesEveryFifthTickMajor) {
    const double span = 4096.0 / (10 * 48000);  // h = 0.853 ms, p = 0.1 ms
    std::vector<LagTick> ticks;
    lagTicks(span, false, kPlot, ticks);
    EXPECT_EQ(ticks.size(), 86u);  // 0 .. 8.5 ms
    EXPECT_TRUE(ticks[5].major);
    EXPECT_FALSE(ticks[4].major);
}

TEST(LagTicks, ARatioBelowTwoHalvesTheStep) {
    const double span = 4096.0 / (10 * 48000);  // CCF: h = 1.71 ms, p = 1 ms: step 0.5 ms
    std::vector<LagTick> ticks;
    lagTicks(span, true, kPlot, ticks);
    ASSERT_EQ(ticks.size(), 35u);  // 0, then +-0.5 .. +-8.5
    EXPECT_EQ(ticks[0].x, kPlot.left + 620);
    EXPECT_EQ(ticks[0].lagMs, 0);
    EXPECT_DOUBLE_EQ(ticks[1].lagMs, 0.5);
    EXPECT_DOUBLE_EQ(ticks[2].lagMs, -0.5);
    EXPECT_EQ(ticks[1].x - ticks[0].x, ticks[0].x - ticks[2].x);  // mirrored about the centre
    EXPECT_FALSE(ticks[1].major);
    EXPECT_TRUE(ticks[3].major);  // 1 ms
    EXPECT_EQ(majorCount(ticks), 17);
}

TEST(LagTicks, CorrelationRowsRunFromPlusOneAtTheTopToMinusOneAtTheBottom) {
    EXPECT_EQ(correlationRow(1.0, 600), 0);
    EXPECT_EQ(correlationRow(0.0, 600), 300);
    EXPECT_EQ(correlationRow(-1.0, 600), 600);
    EXPECT_EQ(correlationRow(0.2, 601), std::round(300.5f - 0.2f * 601 / 2.0f));
}

TEST(WaterfallHorizon, ALineBehindShowsOnlyWhereItRisesAboveEverythingInFront) {
    WaterfallHorizon horizon;
    horizon.reset(100, 3, 50.0f);
    auto hide = [&](int x, float y, int depth) {
        const HorizonPoint p = horizon.hide(x, y, depth);
        return std::pair(p.row, p.owner);
    };
    EXPECT_EQ(hide(100, 20.0f, 0), std::pair(20.0f, 0));  // front line: visible, raises the horizon
    EXPECT_EQ(hide(101, 40.0f, 0), std::pair(40.0f, 0));
    EXPECT_EQ(hide(100, 30.0f, 1), std::pair(20.0f, 0));  // a line behind, lower: on the horizon
    EXPECT_EQ(hide(101, 10.0f, 1), std::pair(10.0f, 1));  // higher: visible
    EXPECT_EQ(hide(102, 60.0f, 1), std::pair(50.0f, -1)); // below the plot's bottom
    EXPECT_EQ(hide(99, 70.0f, 2), std::pair(70.0f, 2));   // outside the columns: untouched
}

TEST(WaterfallDepth, BackwardPutsTheNewestInFrontAndForwardAtTheBack) {
    EXPECT_EQ(waterfallAgeAtDepth(0, 20, 20, true), 0);
    EXPECT_EQ(waterfallAgeAtDepth(19, 20, 20, true), 19);
    EXPECT_EQ(waterfallAgeAtDepth(0, 20, 20, false), 19);
    EXPECT_EQ(waterfallAgeAtDepth(19, 20, 20, false), 0);
    // With three spectra so far, Backward fills the front and Forward the back.
    EXPECT_EQ(waterfallAgeAtDepth(3, 20, 3, true), -1);
    EXPECT_EQ(waterfallAgeAtDepth(16, 20, 3, false), -1);
    EXPECT_EQ(waterfallAgeAtDepth(17, 20, 3, false), 2);
}

TEST(CorrelationShading, ColumnsBetweenPointsFollowTheCurveAndNoneOutsideIt) {
    const PlotPoint points[] = {{2, 10.0f}, {6, 30.0f}, {6, 20.0f}, {7, 20.0f}};
    std::vector<float> rows;
    shadingRows(points, 10, rows);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_TRUE(std::isnan(rows[1]));
    EXPECT_EQ(rows[2], 10.0f);
    EXPECT_EQ(rows[4], 20.0f);
    EXPECT_EQ(rows[6], 20.0f);  // the last point of a column counts
    EXPECT_EQ(rows[7], 20.0f);
    EXPECT_TRUE(std::isnan(rows[8]));
}

}  // namespace
