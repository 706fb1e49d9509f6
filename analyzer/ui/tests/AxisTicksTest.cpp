#include "phonomir/AxisTicks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace phonomir;

namespace {

const PlotRect kPlot{30, 5, 1240, 600};

std::vector<double> values(const std::vector<AxisTick>& ticks, bool (*keep)(const AxisTick&)) {
    std::vector<double> out;
    for (const AxisTick& t : ticks)
        if (keep(t)) out.push_back(t.value);
    return out;
}

bool labelled(const AxisTick& t) { return t.labelled; }
bool gridLine(const AxisTick& t) { return t.gridLine; }

std::string label(double hertz) {
    char text[32];
    formatFrequencyLabel(hertz, text, sizeof text);
    return text;
}

TEST(LevelAxis, NiceStepRoundsASeventhOfTheRangeToOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_EQ(niceStep(0, -140), 20);
    EXPECT_EQ(niceStep(0, -110), 10);
    EXPECT_EQ(niceStep(0, -1), 1);      // a seventh truncates to 0, taken as 1
    EXPECT_EQ(niceStep(0, -35), 5);
    EXPECT_EQ(niceStep(0, -70), 10);
    EXPECT_EQ(niceStep(0, -350), 50);
    EXPECT_EQ(niceStep(0, -2000), 200);
    EXPECT_EQ(niceStep(-10, 0), 1);     // an inverted range from a damaged settings file
}

TEST(LevelAxis, ZeroToMinus140HasEightLabelsAndSixInteriorLines) {
    std::vector<AxisTick> ticks;
    levelTicks(0, -140, kPlot, ticks);
    EXPECT_EQ(values(ticks, labelled), (std::vector<double>{0, -20, -40, -60, -80, -100, -120, -140}));
    EXPECT_EQ(values(ticks, gridLine), (std::vector<double>{-20, -40, -60, -80, -100, -120}));
    EXPECT_EQ(ticks.front().position, kPlot.top);
    EXPECT_EQ(ticks.back().position, kPlot.bottom());
}

TEST(LevelAxis, ZeroToMinus110HasTwelveLabelsAndTenInteriorLines) {
    std::vector<AxisTick> ticks;
    levelTicks(0, -110, kPlot, ticks);
    EXPECT_EQ(values(ticks, labelled).size(), 12u);
    EXPECT_EQ(values(ticks, gridLine).size(), 10u);
    EXPECT_EQ(ticks[1].value, -10);
}

TEST(LevelAxis, ARangeThatIsNotAMultipleOfTheStepStopsAboveTheLowEnd) {
    std::vector<AxisTick> ticks;
    levelTicks(3, -97, kPlot, ticks);  // step 10
    EXPECT_EQ(ticks.front().value, 3);
    EXPECT_EQ(ticks.back().value, -97);
    EXPECT_EQ(ticks.size(), 11u);
    levelTicks(-10, 0, kPlot, ticks);
    EXPECT_TRUE(ticks.empty());
}

TEST(FrequencyAxis, LogarithmicTwentyHertzToTwentyKilohertzLabelsOnlyOneTwoAndFive) {
    DisplayRange range;
    range.lowFrequency = 20;
    range.highFrequency = 20000;
    std::vector<AxisTick> ticks;
    frequencyTicks(range, kPlot, ticks);
    std::vector<std::string> labels;
    for (double v : values(ticks, labelled)) labels.push_back(label(v));
    EXPECT_EQ(labels, (std::vector<std::string>{"20", "50", "100", "200", "500", "1k", "2k", "5k", "10k", "20k"}));
    // 20, 30 .. 90, 100 .. 900, 1k .. 9k, 10k, 20k: lines everywhere but on the frame at both ends.
    EXPECT_EQ(ticks.size(), 28u);
    EXPECT_FALSE(ticks.front().gridLine);
    EXPECT_FALSE(ticks.back().gridLine);
    EXPECT_EQ(values(ticks, gridLine).size(), 26u);
    EXPECT_EQ(ticks.back().position, kPlot.right());
}

TEST(FrequencyAxis, LogarithmicAxisStartsAtTheFirstDecadeValueNotBelowTheLowEnd) {
    DisplayRange range;
    range.lowFrequency = 43;  // 44100 / 1024
    range.highFrequency = 22050;
    std::vector<AxisTick> ticks;
    frequencyTicks(range, kPlot, ticks);
    EXPECT_EQ(ticks[0].value, 50);
    EXPECT_EQ(ticks[1].value, 60);
    EXPECT_EQ(ticks.back().value, 20000);
}

TEST(FrequencyAxis, LinearStepIsChosenFromAFifthOfTheSpan) {
    EXPECT_EQ(linearFrequencyStep(0, 45), 1);
    EXPECT_EQ(linearFrequencyStep(0, 50), 10);
    EXPECT_EQ(linearFrequencyStep(20, 500), 10);
    EXPECT_EQ(linearFrequencyStep(0, 4999), 100);
    EXPECT_EQ(linearFrequencyStep(20, 20000), 1000);
    EXPECT_EQ(linearFrequencyStep(0, 50000), 10000);
}

TEST(FrequencyAxis, LinearTicksRunOverMultiplesOfTheStepAndSkipTheFrame) {
    DisplayRange range;
    range.logarithmic = false;
    range.lowFrequency = 0;
    range.highFrequency = 24000;
    std::vector<AxisTick> ticks;
    frequencyTicks(range, kPlot, ticks);
    ASSERT_EQ(ticks.size(), 25u);
    EXPECT_EQ(ticks[1].value, 1000);
    EXPECT_EQ(ticks[12].position, kPlot.left + kPlot.width / 2);
    EXPECT_EQ(values(ticks, gridLine).size(), 23u);
    EXPECT_EQ(values(ticks, labelled).size(), 25u);
}

TEST(FrequencyAxis, LabelsReadHertzBelowOneKilohertzAndKilohertzFromThere) {
    EXPECT_EQ(label(20), "20");
    EXPECT_EQ(label(999), "999");
    EXPECT_EQ(label(1000), "1k");
    EXPECT_EQ(label(1250), "1.25k");
    EXPECT_EQ(label(12500), "12.5k");
    EXPECT_EQ(label(20000), "20k");
}

}  // namespace
