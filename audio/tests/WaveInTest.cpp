#include "WaveTestSupport.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveIn.h"

#include <gtest/gtest.h>

using namespace phonomir;
using namespace phonomir::test;

namespace {

class WaveInTest : public ::testing::Test {
protected:
    // 4 buffers of 1024 bytes: 256 stereo frames each.
    static constexpr WaveStreamParameters kParameters{2, 48000, 16, 4, 1024};

    // Runs the card in small periods, handing out finished buffers after each, as the program's
    // event loop would.
    void step(std::uint32_t frames) {
        for (std::uint32_t done = 0; done < frames; done += 128) {
            card.advance(128);
            waveIn.processCompleted();
        }
    }

    std::vector<Notification> log;
    RecordingClient panel{"panel", log}, analyzer{"analyzer", log}, scope{"scope", log};
    VirtualSoundCard card;
    MessageRecorder messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
};

TEST_F(WaveInTest, AnotherWindowOpeningTakesTheInputAndEveryoneHearsOfIt) {
    waveIn.setListener(&panel);
    ASSERT_EQ(waveIn.openInput(0, &analyzer, kParameters, true), 1);
    ASSERT_EQ(waveIn.openInput(0, &scope, kParameters, true), 1);
    const std::vector<Notification> expected = {{"analyzer", WAVE_IN_OPENED}, {"panel", WAVE_IN_OPENED},
                                                {"analyzer", WAVE_IN_CLOSED}, {"panel", WAVE_IN_CLOSED},
                                                {"scope", WAVE_IN_OPENED},    {"panel", WAVE_IN_OPENED}};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(waveIn.primaryClient(), &scope);
}

TEST_F(WaveInTest, ClientThatIsAlsoListenerIsToldOnce) {
    waveIn.setListener(&panel);
    ASSERT_EQ(waveIn.openInput(0, &panel, kParameters, true), 1);
    waveIn.startInput();
    step(256);
    waveIn.closeInput();
    const std::vector<Notification> expected = {
        {"panel", WAVE_IN_OPENED}, {"panel", WAVE_IN_DATA}, {"panel", WAVE_IN_CLOSED}};
    EXPECT_EQ(log, expected);
}

TEST_F(WaveInTest, RecordedBuffersGoToClientThenListenerAndBackToTheDevice) {
    waveIn.setListener(&panel);
    waveIn.openInput(0, &analyzer, kParameters, true);
    EXPECT_EQ(waveIn.queuedCount(), 4);
    step(2560);  // ten buffers' worth: the ring goes round more than twice
    EXPECT_EQ(analyzer.count(WAVE_IN_DATA), 0) << "recording starts only with startInput";
    waveIn.startInput();
    step(2560);
    EXPECT_EQ(analyzer.count(WAVE_IN_DATA), 10);
    EXPECT_EQ(panel.count(WAVE_IN_DATA), 10);
    EXPECT_EQ(waveIn.queuedCount(), 4);
    EXPECT_EQ(log[2], (Notification{"analyzer", WAVE_IN_DATA}));
    EXPECT_EQ(log[3], (Notification{"panel", WAVE_IN_DATA}));
    EXPECT_EQ(waveIn.xruns(), 0u);
}

TEST_F(WaveInTest, ZeroAnswerClosesTheStream) {
    waveIn.setListener(&panel);
    analyzer.onNotify = [](WaveNotifyCode code, WaveBuffer*) { return code == WAVE_IN_DATA ? 0L : 1L; };
    waveIn.openInput(0, &analyzer, kParameters, true);
    waveIn.startInput();
    step(1024);
    EXPECT_FALSE(waveIn.isOpen());
    EXPECT_EQ(analyzer.count(WAVE_IN_DATA), 1);
    EXPECT_EQ(analyzer.count(WAVE_IN_CLOSED), 1);
    EXPECT_EQ(panel.count(WAVE_IN_CLOSED), 1);
}

TEST_F(WaveInTest, NoDataArrivesAfterCloseForBuffersTheDeviceHadFinished) {
    waveIn.openInput(0, &analyzer, kParameters, true);
    waveIn.startInput();
    card.advance(1024);  // four buffers done but not yet handed out
    waveIn.closeInput();
    waveIn.processCompleted();
    ASSERT_EQ(waveIn.openInput(0, &scope, kParameters, true), 1);
    waveIn.processCompleted();
    EXPECT_EQ(analyzer.count(WAVE_IN_DATA), 0);
    EXPECT_EQ(scope.count(WAVE_IN_DATA), 0);
}

TEST_F(WaveInTest, StopHandsOutThePartlyFilledLastBufferThenCloses) {
    waveIn.setListener(&panel);
    waveIn.openInput(0, &analyzer, kParameters, true);
    waveIn.startInput();
    step(384);  // one and a half buffers
    waveIn.stopInput();
    ASSERT_EQ(analyzer.received.size(), 2u);
    EXPECT_EQ(analyzer.received[0].size(), 1024u);
    EXPECT_EQ(analyzer.received[1].size(), 512u);
    EXPECT_EQ(panel.received.size(), 2u);
    EXPECT_FALSE(waveIn.isOpen());
    EXPECT_EQ(analyzer.count(WAVE_IN_CLOSED), 1);
    step(256);
    EXPECT_EQ(analyzer.count(WAVE_IN_DATA), 2);
}

TEST_F(WaveInTest, ClosingFromInsideTheDataHandlerStopsAtOnce) {
    waveIn.setListener(&panel);
    panel.onNotify = [this](WaveNotifyCode code, WaveBuffer*) {
        if (code == WAVE_IN_DATA) waveIn.closeInput();
        return 1L;
    };
    waveIn.openInput(0, &analyzer, kParameters, true);
    waveIn.startInput();
    step(1024);
    EXPECT_FALSE(waveIn.isOpen());
    EXPECT_EQ(analyzer.count(WAVE_IN_DATA), 1);
    EXPECT_EQ(analyzer.count(WAVE_IN_CLOSED), 1);
}

TEST_F(WaveInTest, RefusedOpenShowsTheErrorOnlyWhenAsked) {
    card.refuseOpens(true);
    EXPECT_EQ(waveIn.openInput(0, &analyzer, kParameters, false), 0);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(waveIn.openInput(0, &analyzer, kParameters, true), 0);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.icons[0], MessageIcon::Exclamation);
    EXPECT_EQ(waveIn.primaryClient(), nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(WaveInTest, RemovedDeviceEndsInTheClosedNotification) {
    waveIn.openInput(0, &analyzer, kParameters, true);
    waveIn.startInput();
    step(256);
    card.removeDevice();
    step(1024);
    EXPECT_FALSE(waveIn.isOpen());
    EXPECT_EQ(analyzer.count(WAVE_IN_CLOSED), 1);
    EXPECT_EQ(waveIn.openInput(0, &analyzer, kParameters, false), 0);
}

TEST_F(WaveInTest, DroppedPeriodCountsAnXrun) {
    waveIn.openInput(0, &analyzer, kParameters, true);
    waveIn.startInput();
    card.dropNextPeriod();
    step(256);
    EXPECT_EQ(waveIn.xruns(), 1u);
    EXPECT_EQ(analyzer.count(WAVE_IN_DATA), 0);
    waveIn.closeInput();
    EXPECT_EQ(waveIn.xruns(), 1u) << "the closed stream's count stays readable";
    waveIn.openInput(0, &analyzer, kParameters, true);
    EXPECT_EQ(waveIn.xruns(), 0u);
}

TEST_F(WaveInTest, UnreadBuffersStarveTheDevice) {
    waveIn.openInput(0, &analyzer, kParameters, true);
    waveIn.startInput();
    card.advance(2048);  // eight buffers' worth, only four queued
    EXPECT_GE(waveIn.xruns(), 1u);
}

}  // namespace
