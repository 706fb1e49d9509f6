#include "phonomir/BandSlots.h"
#include "phonomir/GraphLayout.h"
#include "phonomir/PlotPicking.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace phonomir;

namespace {

TEST(GraphLayout, SpectrumAndCorrelationPlotsLeaveTwoTextRowsBelow) {
    for (DisplayType type : {DisplayType::Spectrum, DisplayType::Correlation}) {
        const GraphLayout layout = computeGraphLayout(type, 1280, 720, 9, 20);
        EXPECT_EQ(layout.axisBottom, 720 - 2 * 9 - 6);
        EXPECT_EQ(layout.plot.left, 30);
        EXPECT_EQ(layout.plot.top, 5);
        EXPECT_EQ(layout.plot.right(), 1280 - 10);
        EXPECT_EQ(layout.plot.bottom(), layout.axisBottom);
        EXPECT_EQ(layout.data.width, layout.plot.width);
    }
}

TEST(GraphLayout, ThirdOctavePlotLeavesRoomForTwoLabelRows) {
    const GraphLayout layout = computeGraphLayout(DisplayType::ThirdOctave, 1280, 720, 9, 20);
    EXPECT_EQ(layout.axisBottom, 720 - 3 * 9 - 8);
    EXPECT_EQ(layout.plot.height, layout.axisBottom - 8);
}

TEST(GraphLayout, WaterfallFrontPlotSitsBehindNShiftedLines) {
    const GraphLayout layout = computeGraphLayout(DisplayType::Waterfall, 1280, 720, 9, 20);
    EXPECT_EQ(layout.waterfallDx, (1280 - 54) / 5 / 20);  // 12
    EXPECT_EQ(layout.waterfallDy, 5 * 12 / 3);
    EXPECT_EQ(layout.plot.left, 30 + 20 * 12);
    EXPECT_EQ(layout.plot.right(), 1280 - 24);
    EXPECT_EQ(layout.plot.bottom(), 720 - 2 * 9 - 6);
    EXPECT_EQ(layout.plot.height, layout.plot.bottom() - (20 * 20 + 5) - 6);
    // The deepest line (N - 1 back) still lies inside the area each repaint restores.
    EXPECT_GE(layout.plot.left - 19 * layout.waterfallDx, layout.data.left);
    EXPECT_GE(layout.plot.top - 19 * layout.waterfallDy, layout.data.top);
}

TEST(GraphLayout, ATinyWindowStillHasAOnePixelPlot) {
    const GraphLayout layout = computeGraphLayout(DisplayType::Waterfall, 20, 10, 9, 5);
    EXPECT_EQ(layout.plot.width, 1);
    EXPECT_EQ(layout.plot.height, 1);
    EXPECT_EQ(layout.waterfallDx, 0);
}

// 48 kHz, n = 4096: 11.71875 Hz per bin, 2048 bins.
constexpr double kBinSpacing = 48000.0 / 4096;
const PlotRect kPlot{30, 5, 1240, 600};

DisplayRange frequencyRange(double low, double high, bool logarithmic) {
    DisplayRange range;
    range.lowFrequency = low;
    range.highFrequency = high;
    range.logarithmic = logarithmic;
    return range;
}

TEST(Picking, AClickLeftOfThePlotSelectsNothing) {
    const DisplayRange range = frequencyRange(20, 24000, true);
    // Column 29 would still map to about 19.9 Hz, bin 1; a lower axis would give a valid bin.
    EXPECT_EQ(binAt(29, 300, kPlot, frequencyRange(200, 24000, true), kBinSpacing, 4096), 0);
    EXPECT_EQ(binAt(29, 300, kPlot, range, kBinSpacing, 4096), 0);
    EXPECT_EQ(bandSlotAt(29, 300, kPlot, 33), -1);  // slot 33 x -1 / 1240 would truncate to 0
    EXPECT_EQ(binAt(600, 2, kPlot, range, kBinSpacing, 4096), 0);  // above the plot
}

TEST(Picking, AClickInsideSelectsTheBinOfItsFrequency) {
    // Half way along a 20 Hz .. 24 kHz logarithmic axis is the geometric mean of its ends.
    const int expected = static_cast<int>(std::sqrt(20.0 * 24000.0) / kBinSpacing);
    EXPECT_EQ(binAt(30 + 620, 300, kPlot, frequencyRange(20, 24000, true), kBinSpacing, 4096), expected);
    // A quarter along 0 .. 24 kHz linear is 6 kHz, bin 512.
    EXPECT_EQ(binAt(30 + 310, 300, kPlot, frequencyRange(0, 24000, false), kBinSpacing, 4096), 512);
    // The last column reads 23 980.6 Hz; 0 Hz at the first column is bin 0, never selected.
    EXPECT_EQ(binAt(1269, 300, kPlot, frequencyRange(0, 24000, false), kBinSpacing, 4096), 2046);
    EXPECT_EQ(binAt(30, 300, kPlot, frequencyRange(0, 24000, false), kBinSpacing, 4096), 0);
}

TEST(Picking, BandSlotsDivideThePlotEvenly) {
    EXPECT_EQ(bandSlotAt(30, 300, kPlot, 33), 0);
    EXPECT_EQ(bandSlotAt(30 + 1239, 300, kPlot, 33), 32);
    EXPECT_EQ(bandSlotAt(30 + 1240, 300, kPlot, 33), -1);
    EXPECT_EQ(bandSlotAt(30 + 620, 300, kPlot, 30), 15);
}

TEST(BandSlots, OneChannelBarIsCentredAndTwoChannelsMeetAtTheCentre) {
    const double w = 1240.0 / 33;  // 37.58
    const int centre = bandSlotCentre(19, 33, kPlot);
    EXPECT_EQ(centre, 30 + static_cast<int>(19.5 * w));
    const BarSpan one = bandBar(19, 33, kPlot, 0, 1);
    EXPECT_EQ(one.left, centre - 12);
    EXPECT_EQ(one.right, centre + 12);
    const BarSpan left = bandBar(19, 33, kPlot, 0, 2), right = bandBar(19, 33, kPlot, 1, 2);
    EXPECT_EQ(left.left, centre - 15);
    EXPECT_EQ(left.right, centre);
    EXPECT_EQ(right.left, centre);
    EXPECT_EQ(right.right, centre + 15);
}

TEST(BandSlots, LevelRowsAreLimitedToThePlot) {
    DisplayRange range;
    range.highLevel = 0;
    range.lowLevel = -110;
    EXPECT_EQ(bandLevelRow(-55, range, kPlot), kPlot.top + 300);
    EXPECT_EQ(bandLevelRow(6, range, kPlot), kPlot.top);
    EXPECT_EQ(bandLevelRow(-1000, range, kPlot), kPlot.bottom());  // a band without bins: no bar
    EXPECT_EQ(bandLevelRow(NAN, range, kPlot), kPlot.bottom());
}

}  // namespace
