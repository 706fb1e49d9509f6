#include "phonomir/ScopeAcquisition.h"

#include "RecordingScopeView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace phonomir;
using phonomir::testing::RecordingScopeView;

namespace {

// Runs an acquisition over a signal given frame by frame, cut into blocks of blockFrames.
class ScopeHarness {
public:
    explicit ScopeHarness(OscilloscopeSettings settings, int rateHz = 44100) : acquisition(view) {
        acquisition.start(settings, rateHz);
    }

    // Feeds `blocks` blocks whose sample of channel c at absolute frame f is signal(f, c).
    template <typename Signal>
    void feed(int blocks, Signal signal) {
        const int channels = acquisition.settings().channels();
        const int frames = acquisition.timing().blockFrames;
        std::vector<std::int16_t> block(static_cast<std::size_t>(frames) * channels);
        for (int b = 0; b < blocks; ++b) {
            for (int i = 0; i < frames; ++i)
                for (int c = 0; c < channels; ++c) block[i * channels + c] = signal(next + i, c);
            view.blockStartFrame = next;
            view.blockData = block.data();
            acquisition.processBlock(block);
            next += frames;
        }
    }

    RecordingScopeView view;
    ScopeAcquisition acquisition;
    long long next = 0;
};

auto silence = [](long long, int) -> std::int16_t { return 0; };

OscilloscopeSettings manualTrigger() {
    OscilloscopeSettings s;
    s.autoRange = 0;
    s.autoTrigger = 0;
    return s;
}

}  // namespace

TEST(ScopeAcquisition, AutoTriggerSweepsSilenceFromTheFirstFrame) {
    ScopeHarness scope(OscilloscopeSettings{});
    scope.feed(1, silence);
    ASSERT_FALSE(scope.view.runs.empty());
    EXPECT_EQ(scope.view.runs[0].absoluteFirstFrame, 0);
    EXPECT_EQ(scope.view.runs[0].firstSweepIndex, 0);
    EXPECT_EQ(scope.view.runs[0].pointCount, 617 + 1);  // sweep indices 0 .. sweepSamples
    EXPECT_EQ(scope.view.clears, 1);
}

TEST(ScopeAcquisition, AfterARealTriggerTheNextForcedSweepWaitsTenSweepLengths) {
    OscilloscopeSettings s;
    s.autoRange = 0;
    ScopeHarness scope(s);
    // -5 then 3 at the last frame of block 0 and the first of block 1; silence elsewhere
    // (0 never crosses threshold 0 upward). Forced sweeps come every quarter sweep until then.
    const long long crossing = 2756;
    scope.feed(4, [&](long long f, int) -> std::int16_t { return f == crossing - 1 ? -5 : f == crossing ? 3 : 0; });
    ASSERT_EQ(scope.view.runs.size(), 3u);
    const auto& triggered = scope.view.runs[1];
    EXPECT_EQ(triggered.absoluteFirstFrame, crossing);  // at a block start: not extended back
    EXPECT_EQ(triggered.firstSweepIndex, 0);
    EXPECT_DOUBLE_EQ(triggered.triggerFraction, 3.0 / 8.0);
    const auto& forced = scope.view.runs[2];
    EXPECT_EQ(forced.absoluteFirstFrame, crossing + 10 * 617 + 1 - 1);  // begins one frame early
    EXPECT_EQ(forced.firstSweepIndex, -1);
    EXPECT_DOUBLE_EQ(forced.triggerFraction, 0.0);
}

TEST(ScopeAcquisition, ACrossingAfterASweepEndedWaitsForTheNextBlock) {
    OscilloscopeSettings s = manualTrigger();
    ScopeHarness scope(s);
    // Crossings at 100 and 1000: the first sweep ends at frame 717, the second crossing falls
    // in the same block and is ignored; the one at 3000 in the next block starts a sweep.
    scope.feed(2, [](long long f, int) -> std::int16_t { return f == 100 || f == 1000 || f == 3000 ? 9 : -9; });
    ASSERT_EQ(scope.view.runs.size(), 2u);
    EXPECT_EQ(scope.view.runs[0].absoluteFirstFrame, 99);
    EXPECT_EQ(scope.view.runs[0].pointCount, 1 + 618);
    EXPECT_EQ(scope.view.runs[1].absoluteFirstFrame, 2999);
}

TEST(ScopeAcquisition, DelayPostponesCaptureByDelaySamples) {
    OscilloscopeSettings s;
    s.autoRange = 0;
    s.delayRangeIndex = 1;
    ScopeHarness scope(s, 48000);
    scope.acquisition.setDelayPosition(50);  // 5 ms = 240 frames at 48 kHz
    scope.feed(1, silence);
    ASSERT_EQ(scope.view.runs.size(), 1u);
    EXPECT_EQ(scope.view.runs[0].absoluteFirstFrame, 240 - 1);
    EXPECT_EQ(scope.view.runs[0].firstSweepIndex, -1);
}

TEST(ScopeAcquisition, SlowSweepContinuesAcrossBlocksWithConsecutiveSweepIndices) {
    OscilloscopeSettings s;
    s.autoRange = 0;
    s.sweepTimeIndex = 0;  // 1 s/div: 112000 frames at 8 kHz
    ScopeHarness scope(s, 8000);
    scope.feed(4, silence);
    ASSERT_EQ(scope.view.runs.size(), 4u);
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(scope.view.runs[b].firstSweepIndex, b * 500);
        EXPECT_EQ(scope.view.runs[b].pointCount, 500);
    }
}

TEST(ScopeAcquisition, SingleModeDrawsOneSweepUntilReset) {
    OscilloscopeSettings s = manualTrigger();
    s.autoTrigger = 1;  // must not fire in single mode
    ScopeHarness scope(s);
    scope.acquisition.setSingleMode(true);
    auto pulses = [](long long f, int) -> std::int16_t { return f % 1000 == 500 ? 100 : -100; };
    scope.feed(2, pulses);
    ASSERT_EQ(scope.view.runs.size(), 1u);
    EXPECT_EQ(scope.view.runs[0].absoluteFirstFrame, 500 - 1);
    EXPECT_EQ(scope.view.singleTriggerNotices, 1);
    scope.acquisition.resetSingleTrigger();
    scope.feed(1, pulses);
    ASSERT_EQ(scope.view.runs.size(), 2u);
    EXPECT_EQ(scope.view.runs[1].absoluteFirstFrame, 6500 - 1);  // first crossing after the reset
}

TEST(ScopeAcquisition, AutoRangeClimbsToExponentThirteenForAFullScaleSine) {
    OscilloscopeSettings s;
    s.gainExponentLeft = 0;
    ScopeHarness scope(s);
    auto sine = [](long long f, int) {
        return static_cast<std::int16_t>(std::lround(32767 * std::sin(2 * std::numbers::pi * 1000 * f / 44100.0)));
    };
    scope.feed(9, sine);
    EXPECT_EQ(scope.acquisition.settings().gainExponentLeft, 0);
    scope.feed(31, sine);
    EXPECT_EQ(scope.acquisition.settings().gainExponentLeft, 13);
    EXPECT_EQ(scope.view.gainChanges.size(), 13u);
    EXPECT_EQ(scope.view.gainChanges.back(), (std::pair<int, int>{0, 13}));
}

// changeSettings replaces the working copy: a caller that writes the climbed exponent into its
// record as it is told keeps it across any later change; a stale record steps it back.
TEST(ScopeAcquisition, ChangeSettingsKeepsTheClimbedRangeOnlyWhenTheCallerWroteItBack) {
    OscilloscopeSettings record;
    record.gainExponentLeft = 0;
    ScopeHarness scope(record);
    auto sine = [](long long f, int) {
        return static_cast<std::int16_t>(std::lround(32767 * std::sin(2 * std::numbers::pi * 1000 * f / 44100.0)));
    };
    scope.feed(40, sine);
    ASSERT_EQ(scope.acquisition.settings().gainExponentLeft, 13);
    const OscilloscopeSettings stale = record;
    for (const auto& [channel, exponent] : scope.view.gainChanges) {
        (channel == 0 ? record.gainExponentLeft : record.gainExponentRight) = exponent;
    }
    record.highcut = 1;
    scope.acquisition.changeSettings(record);
    EXPECT_EQ(scope.acquisition.settings().gainExponentLeft, 13);
    EXPECT_EQ(scope.acquisition.settings().highcut, 1);
    scope.acquisition.changeSettings(stale);
    EXPECT_EQ(scope.acquisition.settings().gainExponentLeft, 0);
}

TEST(ScopeAcquisition, InversionNegatesOnlyTheChosenChannelAndKeepsFullScaleInRange) {
    OscilloscopeSettings s = manualTrigger();
    s.autoTrigger = 1;
    s.twoChannels = 1;
    s.invertLeft = 1;
    ScopeHarness scope(s);
    scope.feed(1, [](long long f, int c) -> std::int16_t { return c == 0 ? (f % 2 ? -32768 : 1000) : 7; });
    const auto& samples = scope.view.runs.at(0).samples;
    EXPECT_EQ(samples[0], -1000);
    EXPECT_EQ(samples[1], 7);
    EXPECT_EQ(samples[2], 32767);  // -(-32768) saturates instead of wrapping to -32768
}

TEST(ScopeAcquisition, XyModeDrawsOneFigurePerBlockAndNoTimeTrace) {
    OscilloscopeSettings s;
    s.twoChannels = 1;
    s.xyMode = 1;
    ScopeHarness scope(s);
    scope.feed(3, silence);
    EXPECT_EQ(scope.view.xyFigures, 3);
    EXPECT_TRUE(scope.view.runs.empty());
}

TEST(ScopeAcquisition, LabelShowsRateSensitivitiesSweepAndDelay) {
    OscilloscopeSettings s;
    s.twoChannels = 1;
    s.gainExponentLeft = 10;
    s.gainExponentRight = 3;
    s.delayRangeIndex = 1;
    ScopeHarness scope(s);
    scope.acquisition.setDelayPosition(50);
    scope.acquisition.drawLabel();
    EXPECT_EQ(scope.view.lines[0], "SamplingRate:44.1kHz");
    EXPECT_EQ(scope.view.lines[1], "Lch:1024/div  Rch:8/div  Time:1ms/div  Delay:5ms");
}

// Silent, constant and full-scale clipped input with every option on, one and two channels,
// and settings records full of out-of-range values: every run stays inside its block and sweep.
TEST(ScopeAcquisition, ExtremeInputAndStoredNonsenseNeverBreakIt) {
    auto clipped = [](long long f, int c) -> std::int16_t { return (f / 7 + c) % 2 ? 32767 : -32768; };
    auto constant = [](long long, int) -> std::int16_t { return -32768; };
    for (int channels : {1, 2}) {
        for (int variant = 0; variant < 3; ++variant) {
            OscilloscopeSettings s;
            s.twoChannels = channels - 1;
            s.autoLevel = s.highcut = s.lowcut = s.invertLeft = s.invertRight = s.indication = 1;
            s.triggerChannel = 1;
            s.relative = 0;
            s.gainExponentLeft = 1000;
            s.triggerLevel = -2000000000;
            s.positionLeft = 1 << 30;
            s.sweepTimeIndex = -5;
            ScopeHarness scope(s, 8000);
            if (variant == 0) scope.feed(30, silence);
            if (variant == 1) scope.feed(30, constant);
            if (variant == 2) scope.feed(30, clipped);
            const int sweep = scope.acquisition.timing().sweepSamples;
            for (const auto& run : scope.view.runs) {
                ASSERT_GE(run.firstSweepIndex, -1);
                ASSERT_LE(run.firstSweepIndex + run.pointCount - 1, sweep);
                ASSERT_GE(run.triggerFraction, 0.0);
                ASSERT_LT(run.triggerFraction, 1.0);
            }
            EXPECT_FALSE(scope.view.runs.empty());
        }
    }
}

TEST(ScopeAcquisition, EmptyAndPartialBlocksAreSafe) {
    OscilloscopeSettings s;
    s.twoChannels = 1;
    RecordingScopeView view;
    ScopeAcquisition acquisition(view);
    acquisition.start(s, 44100);
    std::vector<std::int16_t> odd(3, 100);  // one frame and a half
    view.blockData = odd.data();
    acquisition.processBlock({});
    acquisition.processBlock(odd);
    EXPECT_EQ(view.runs.size(), 1u);
    EXPECT_EQ(view.runs[0].pointCount, 1);
}
