#include "phonomir/AcfRecording.h"
#include "phonomir/WaveSelection.h"
#include "phonomir/WaveformColumns.h"
#include "phonomir/WaveformViewWindow.h"

#include <gtest/gtest.h>

#include <vector>

using namespace phonomir;

namespace {

// Two channels whose values name their frame: left 2f mod 30000, right -(that) - 1.
AcfRecording numberedStereo(int sampleRate, int frames) {
    AcfRecording r;
    r.sampleRate = sampleRate;
    r.channels = 2;
    for (int f = 0; f < frames; ++f) {
        r.samples.push_back(static_cast<std::int16_t>(f % 30000));
        r.samples.push_back(static_cast<std::int16_t>(-(f % 30000) - 1));
    }
    r.updatePeak();
    return r;
}

}  // namespace

TEST(AcfRecording, CuttingOneToTwoSecondsOfFiveLeavesOneSecondFromTheSampleAtOneSecond) {
    AcfRecording r = numberedStereo(8000, 5 * 8000);
    ASSERT_TRUE(r.cut(1.00, 2.00));
    EXPECT_EQ(r.frames(), 8000);
    EXPECT_DOUBLE_EQ(r.duration(), 1.0);
    EXPECT_EQ(r.samples[0], 8000);
    EXPECT_EQ(r.samples[1], -8001);
    EXPECT_EQ(r.samples.back(), -(15999) - 1);
    EXPECT_EQ(r.peak, 16000);
}

// start x fs x channels is odd for 0.0001 s at 44.1 kHz stereo (8.82 values): the offset is
// taken in frames first, so the cut and the replay range start on a left sample.
TEST(AcfRecording, OffsetsFallOnFrameBoundariesSoChannelsNeverSwap) {
    AcfRecording r = numberedStereo(44100, 44100);
    for (double start : {0.0001, 0.00123, 0.29, 0.5000001}) {
        const ValueRange range = r.valuesBetween(start, 0.9);
        EXPECT_EQ(range.begin % 2, 0u) << start;
        EXPECT_EQ(range.end % 2, 0u);
        EXPECT_GE(r.samples[range.begin], 0) << "a left value first";
    }
    EXPECT_EQ(r.valuesBetween(0.29, 2.0).begin, 2u * 12789);  // 44100 x 0.29 = 12789 exactly
    EXPECT_EQ(r.valuesBetween(0.5, 7.0).end, r.samples.size());
    EXPECT_EQ(r.valuesBetween(-1.0, 0.5).begin, 0u);
    AcfRecording copy = r;
    EXPECT_FALSE(copy.cut(0.7, 0.7));  // nothing left: nothing changes
    EXPECT_EQ(copy.samples, r.samples);
    EXPECT_TRUE(copy.cut(0.00123, 0.5));
    EXPECT_EQ(copy.samples[0], 54);
    EXPECT_EQ(copy.samples[1], -55);
}

TEST(AcfRecording, PeakCountsTheMostNegativeValue) {
    const std::vector<std::int16_t> values = {3, -32768, 100};
    EXPECT_EQ(peakOf(values), 32768);
    EXPECT_EQ(peakOf({}), 0);
}

TEST(WaveformViewWindow, ZoomHalvesAndStopsAtOneMillisecond) {
    WaveformViewWindow view;
    view.setDuration(5.0);
    EXPECT_EQ(view.width(), 5.0);
    EXPECT_FALSE(view.canZoomOut());
    view.zoomIn();
    EXPECT_EQ(view.width(), 2.5);
    int presses = 1;
    while (view.canZoomIn() && presses < 100) view.zoomIn(), ++presses;
    EXPECT_EQ(view.width(), 0.001);
    EXPECT_EQ(presses, 13);  // 5 / 2^12 = 0.00122, the next press stops at 0.001
    view.zoomOut();
    EXPECT_EQ(view.width(), 0.002);
    view.showAll();
    EXPECT_EQ(view.width(), 5.0);
    EXPECT_EQ(view.position(), 0.0);
}

TEST(WaveformViewWindow, ScrollBarAndPanningKeepTheWindowInsideTheRecording) {
    WaveformViewWindow view;
    view.setDuration(8.0);
    view.setWindow(0.0, 2.0);
    EXPECT_EQ(view.scrollPage(), 4096);
    view.stepBy(1);
    EXPECT_DOUBLE_EQ(view.position(), 2.0 / 32);
    view.pageBy(1);
    EXPECT_DOUBLE_EQ(view.position(), 2.0 / 32 + 2.0);
    view.end();
    EXPECT_EQ(view.position(), 6.0);
    EXPECT_EQ(view.scrollPosition(), 12288);
    view.pageBy(3);
    EXPECT_EQ(view.position(), 6.0);
    view.scrollTo(4096);
    EXPECT_EQ(view.position(), 2.0);
    view.pan(-100, 400);  // dragging left moves the window right by a quarter of W
    EXPECT_EQ(view.position(), 2.5);
    view.home();
    view.pan(50, 400);
    EXPECT_EQ(view.position(), 0.0);
    view.setDuration(1.0);  // a cut: W and P follow the new length
    EXPECT_EQ(view.width(), 1.0);
    EXPECT_EQ(view.position(), 0.0);
    view.setDuration(0.0);
    EXPECT_EQ(view.width(), 0.0);
    EXPECT_EQ(view.scrollPosition(), 0);
}

TEST(WaveSelection, EdgesStayInsideAndAMillisecondApart) {
    WaveSelection s;
    EXPECT_FALSE(s.any());
    s.selectAll(5.0);
    s.setStart(-2.0, 5.0);
    EXPECT_EQ(s.start(), 0.0);
    s.setStart(4.9999, 5.0);
    EXPECT_DOUBLE_EQ(s.start(), 4.999);
    s.setStart(1.0, 5.0);
    s.setEnd(9.0, 5.0);
    EXPECT_EQ(s.end(), 5.0);
    s.setEnd(0.5, 5.0);
    EXPECT_DOUBLE_EQ(s.end(), 1.001);
    EXPECT_NEAR(s.length(), 0.001, 1e-12);
    WaveSelection fresh;
    fresh.setEnd(2.0, 5.0);  // an end typed without a selection starts it at 0
    EXPECT_EQ(fresh.start(), 0.0);
    EXPECT_EQ(fresh.end(), 2.0);
    fresh.setStart(1.0, 0.0);  // no recording: no selection
    EXPECT_FALSE(fresh.any());
}

TEST(WaveformColumns, EachColumnSpansItsFramesAndEndsWithTheRecording) {
    const AcfRecording r = numberedStereo(1000, 1000);
    std::vector<ColumnExtremes> columns;
    waveformColumns({r.samples, 2, 1, 1000, 0.1, 0.4}, 10, columns);
    ASSERT_EQ(columns.size(), 10u);
    EXPECT_EQ(columns[0].high, -101);  // frames 100 .. 139 of the right channel
    EXPECT_EQ(columns[0].low, -140);
    EXPECT_EQ(columns[9].low, -500);
    waveformColumns({r.samples, 2, 0, 1000, 0.9, 0.4}, 4, columns);  // 0.9 .. 1.3 s of 1 s
    EXPECT_TRUE(columns[0].any);
    EXPECT_FALSE(columns[1].any);
    waveformColumns({r.samples, 2, 0, 1000, 0.0, 0.001}, 5, columns);  // zoomed past the samples
    EXPECT_EQ(columns[4].low, 0);
    EXPECT_TRUE(columns[4].any);
}
