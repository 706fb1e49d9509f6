#include "phonomir/AcfFrameHistory.h"
#include "phonomir/AcfRecomputation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace phonomir;

namespace {

struct KeepAll : AcfFrameSink {
    std::vector<std::vector<float>> frames;
    std::vector<double> times;
    void resetFrames() override { frames.clear(), times.clear(); }
    void acceptFrame(const AcfFrame& frame) override {
        frames.emplace_back(frame.phi.begin(), frame.phi.end());
        times.push_back(frame.endTime);
    }
};

std::vector<std::int16_t> stereoNoiseAndTone(int frames) {
    std::mt19937 random(21);
    std::normal_distribution<double> noise(0, 2000);
    std::vector<std::int16_t> out(2 * static_cast<std::size_t>(frames));
    for (int f = 0; f < frames; ++f) {
        out[2 * f] = static_cast<std::int16_t>(std::lround(noise(random)));
        out[2 * f + 1] = static_cast<std::int16_t>(std::lround(6000 * std::sin(f * 0.05) + noise(random)));
    }
    return out;
}

const RunningAcfParameters kRight{16000, 2, 1, 0.25, 0.05, WeightingKind::A};

}  // namespace

// The window computes only the frames it shows; they are those of a full recomputation, bit for
// bit, with the same end times.
TEST(AcfRecomputation, KeepingTheLastFramesGivesTheFullRecomputationsLastFrames) {
    const auto recording = stereoNoiseAndTone(16000 * 3 + 123);
    KeepAll full;
    RunningAcfAnalyzer fullAcf(full);
    ASSERT_TRUE(fullAcf.Begin(kRight));
    fullAcf.Recompute(recording);
    ASSERT_EQ(full.frames.size(), 56u);  // 60 step blocks, the first frame after the fifth

    for (int keep : {1, 7, 56, 100}) {
        KeepAll last;
        RunningAcfAnalyzer acf(last);
        ASSERT_TRUE(acf.Begin(kRight));
        AcfRecomputation recomputation(acf);
        recomputation.start(recording, keep);
        int steps = 0;
        while (recomputation.step()) ++steps;
        EXPECT_FALSE(recomputation.running());
        EXPECT_EQ(recomputation.progress(), 1.0);
        const std::size_t kept = std::min<std::size_t>(keep, 56);
        ASSERT_EQ(last.frames.size(), kept) << keep;
        EXPECT_EQ(steps + 1, static_cast<int>(kept)) << "one step per computed frame";
        for (std::size_t i = 0; i < kept; ++i) {
            EXPECT_EQ(last.frames[i], full.frames[56 - kept + i]) << keep << " " << i;
            EXPECT_EQ(last.times[i], full.times[56 - kept + i]);
        }
    }
    EXPECT_DOUBLE_EQ(full.times.front(), 5 * 800 / 16000.0);
    EXPECT_DOUBLE_EQ(full.times.back(), 60 * 800 / 16000.0);
}

TEST(AcfRecomputation, ProgressCountsTheComputedFramesAndCancelStops) {
    const auto recording = stereoNoiseAndTone(16000 * 2);
    KeepAll sink;
    RunningAcfAnalyzer acf(sink);
    ASSERT_TRUE(acf.Begin(kRight));
    AcfRecomputation recomputation(acf);
    recomputation.start(recording, 10);
    EXPECT_EQ(recomputation.progress(), 0.0);
    for (int i = 0; i < 5; ++i) recomputation.step();
    EXPECT_NEAR(recomputation.progress(), 0.5, 1e-12);
    recomputation.cancel();
    EXPECT_FALSE(recomputation.running());
    EXPECT_FALSE(recomputation.step());
    EXPECT_EQ(sink.frames.size(), 5u);
    recomputation.start(recording, 10);  // starts over: the sink forgets
    EXPECT_TRUE(sink.frames.empty());
    recomputation.finish();
    EXPECT_EQ(sink.frames.size(), 10u);
}

TEST(AcfRecomputation, ARecordingShorterThanOneFrameOrAnAnalyzerNotBegunGivesNothing) {
    KeepAll sink;
    RunningAcfAnalyzer acf(sink);
    AcfRecomputation recomputation(acf);
    const std::vector<std::int16_t> some(1000, 5), short3(2 * 3000, 5);
    recomputation.start(some, 4);
    EXPECT_FALSE(recomputation.running());
    ASSERT_TRUE(acf.Begin(kRight));
    recomputation.start(short3, 4);  // 3 step blocks, a frame needs 5
    recomputation.finish();
    EXPECT_TRUE(sink.frames.empty());
}

TEST(AcfFrameHistory, KeepsTheLastFramesOldestFirstWithoutAllocating) {
    AcfFrameHistory history;
    history.setLayout(3, 4);
    std::vector<float> phi(8);
    for (int k = 0; k < 5; ++k) {
        for (int j = 0; j < 8; ++j) phi[j] = static_cast<float>(10 * k + j);
        history.acceptFrame({phi, 800.0, 0.5 * k});
    }
    ASSERT_EQ(history.count(), 3);
    EXPECT_EQ(history.received(), 5);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(history.frame(i).size(), 4u);
        EXPECT_EQ(history.frame(i)[0], 10.0f * (i + 2));
        EXPECT_EQ(history.frame(i)[3], 10.0f * (i + 2) + 3);
        EXPECT_EQ(history.endTime(i), 0.5 * (i + 2));
    }
    history.resetFrames();
    EXPECT_EQ(history.count(), 0);
}
