#include "phonomir/AutoRange.h"
#include "phonomir/TriggerDetector.h"
#include "phonomir/TriggerLevel.h"

#include <gtest/gtest.h>

#include <vector>

using namespace phonomir;

namespace {

TriggerOptions manualAscent() {
    TriggerOptions o;
    o.autoTrigger = false;
    return o;
}

// Feeds samples and returns the events, threshold 0, no DC.
std::vector<TriggerEvent> feed(TriggerDetector& d, const std::vector<int>& samples, const TriggerOptions& o,
                               int threshold = 0) {
    std::vector<TriggerEvent> events;
    for (int s : samples) events.push_back(d.detect(s, threshold, 0.0, o));
    return events;
}

}  // namespace

TEST(TriggerDetector, AscentFromMinusFiveToThreeFiresThreeEighthsOfASampleEarly) {
    TriggerDetector d;
    const auto e = feed(d, {-5, 3}, manualAscent());
    EXPECT_FALSE(e[0].fired);
    ASSERT_TRUE(e[1].fired);
    EXPECT_DOUBLE_EQ(e[1].fraction, 3.0 / 8.0);
}

TEST(TriggerDetector, AscentNeedsTheOldValueStrictlyBelowTheThreshold) {
    TriggerDetector d;
    const auto e = feed(d, {0, 5}, manualAscent());
    EXPECT_FALSE(e[0].fired);
    EXPECT_FALSE(e[1].fired);
}

TEST(TriggerDetector, DescentFiresOnTheMirrorCrossingOnly) {
    TriggerOptions o = manualAscent();
    o.descent = true;
    TriggerDetector d;
    const auto e = feed(d, {-5, 3, 10, -6, -6}, o, 2);
    EXPECT_FALSE(e[1].fired);  // an ascent
    ASSERT_TRUE(e[3].fired);
    EXPECT_DOUBLE_EQ(e[3].fraction, (-6.0 - 2) / (-6 - 10));
    EXPECT_FALSE(e[4].fired);
}

TEST(TriggerDetector, HighcutAveragesWithThreeQuartersOfThePreviousValue) {
    TriggerOptions o = manualAscent();
    o.highcut = true;
    TriggerDetector d;
    d.setPreviousValue(-8);
    // (8 + 3 x -8) / 4 = -4: no crossing yet; then (20 + 3 x -4) / 4 = 2 crosses 0.
    const auto e = feed(d, {8, 20}, o);
    EXPECT_FALSE(e[0].fired);
    EXPECT_EQ(d.previousValue(), 2);
    ASSERT_TRUE(e[1].fired);
    EXPECT_DOUBLE_EQ(e[1].fraction, 2.0 / 6.0);
}

TEST(TriggerDetector, LowcutSubtractsTheTruncatedDcEstimate) {
    TriggerDetector d;
    d.setPreviousValue(-1);
    TriggerOptions o = manualAscent();
    o.lowcut = true;
    EXPECT_TRUE(d.detect(100, 0, 100.9, o).fired);  // 100 - trunc(100.9) = 0 crosses 0 from -1
    EXPECT_EQ(d.previousValue(), 0);
    EXPECT_FALSE(d.detect(100, 0, 99.5, o).fired);  // 1 from 0: the old value is not below 0
}

TEST(TriggerDetector, AutoTriggerFiresAtOnceThenWaitsTenSweepsAfterACrossingThenEveryQuarter) {
    TriggerOptions o;
    o.sweepSamples = 20;
    TriggerDetector d;
    EXPECT_TRUE(d.detect(0, 0, 0, o).fired);  // countdown 0 after a start
    d.detect(-5, 0, 0, o);
    ASSERT_TRUE(d.detect(3, 0, 0, o).fired);  // real crossing: countdown 200
    int quiet = 0;
    while (!d.detect(3, 0, 0, o).fired) ++quiet;
    EXPECT_EQ(quiet, 10 * 20);
    quiet = 0;
    while (!d.detect(3, 0, 0, o).fired) ++quiet;
    EXPECT_EQ(quiet, 20 / 4);
}

TEST(TriggerDetector, SingleModeFiresOnceAndNeverByItselfUntilReset) {
    TriggerOptions o;
    o.singleMode = true;
    TriggerDetector d;
    const auto first = feed(d, {0, 0, 0, -5, 3, -5, 3, -5, 3}, o);
    int fired = 0;
    for (const auto& e : first) fired += e.fired;
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(first[4].fired);
    EXPECT_TRUE(d.singleTriggered());
    d.clearSingleTriggered();
    EXPECT_TRUE(feed(d, {-5, 3}, o)[1].fired);
}

TEST(TriggerLevel, ThresholdIsATenthOfADivisionPerPercentAndRelativeIgnoresThePosition) {
    EXPECT_EQ(thresholdUnits(20, 0, true, 1024), 2048);  // two divisions
    EXPECT_EQ(thresholdUnits(20, 20, true, 1024), 2048);
    EXPECT_EQ(thresholdUnits(20, 20, false, 1024), 0);
    EXPECT_EQ(thresholdUnits(-50, 50, false, 32768), -327680);  // no overflow at the extremes
}

TEST(TriggerLevel, AutoLevelMovesOnlyForSixPercentOrMoreAndStaysOnTheTrackbar) {
    // Mean 1000 units at 1024 units/div: 1000 x 10 / 1024 = 9 percent.
    EXPECT_EQ(autoLevelTarget(1000LL * 100, 100, 1024, 0, true, 0), 9);
    EXPECT_EQ(autoLevelTarget(1000LL * 100, 100, 1024, 0, true, 4), std::nullopt);
    EXPECT_EQ(autoLevelTarget(1000LL * 100, 100, 1024, -20, false, 4), -11);  // 9 plus the position
    EXPECT_EQ(autoLevelTarget(32767LL * 100, 100, 1, 0, true, 0), 50);
}

TEST(AutoRange, FullScaleSineClimbsFromExponentZeroToThirteenAfterTenBlocks) {
    AutoRange range;
    int exponent = 0;
    std::vector<int> history;
    for (int block = 1; block <= 40; ++block) {
        exponent = range.update(32767, exponent);
        history.push_back(exponent);
    }
    EXPECT_EQ(history[8], 0);    // nine blocks out of range: no step yet
    EXPECT_EQ(history[9], 1);    // the tenth steps
    EXPECT_EQ(history[21], 13);  // then one step per block
    EXPECT_EQ(history[39], 13);  // 32767 lies within 2..4 divisions of 8192
}

TEST(AutoRange, SilenceStepsDownToZeroAndAPeakInRangeClearsTheCount) {
    AutoRange range;
    int exponent = 3;
    for (int i = 0; i < 9; ++i) exponent = range.update(0, exponent);
    exponent = range.update(24, exponent);  // 3 divisions of 8: in range, count cleared
    for (int i = 0; i < 9; ++i) exponent = range.update(0, exponent);
    EXPECT_EQ(exponent, 3);
    for (int i = 0; i < 10; ++i) exponent = range.update(0, exponent);
    EXPECT_EQ(exponent, 0);
}
