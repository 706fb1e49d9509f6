#include "WaveTestSupport.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveOut.h"

#include <gtest/gtest.h>

using namespace phonomir;
using namespace phonomir::test;

namespace {

class WaveOutTest : public ::testing::Test {
protected:
    // 4 buffers of 1024 bytes: 256 stereo frames each at 48 kHz.
    static constexpr WaveStreamParameters kParameters{2, 48000, 16, 4, 1024};

    void step(std::uint32_t frames) {
        for (std::uint32_t done = 0; done < frames; done += 128) {
            card.advance(128);
            waveOut.processCompleted();
        }
    }

    std::vector<Notification> log;
    RecordingClient panel{"panel", log}, generator{"generator", log};
    VirtualSoundCard card;
    MessageRecorder messages;
    WaveOut waveOut{card, nullptr, &messages, nullptr};
};

TEST_F(WaveOutTest, OpenAsksNothingUntilStarted) {
    waveOut.setListener(&panel);
    ASSERT_EQ(waveOut.openOutput(0, &generator, kParameters, true, false), 1);
    step(1024);
    const std::vector<Notification> expected = {{"generator", WAVE_OUT_OPENED}, {"panel", WAVE_OUT_OPENED}};
    EXPECT_EQ(log, expected);
}

TEST_F(WaveOutTest, ZeroToEveryFirstFillClosesAtOnce) {
    waveOut.setListener(&panel);
    generator.fillsLeft = 0;
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    EXPECT_FALSE(waveOut.isOpen());
    EXPECT_EQ(generator.count(WAVE_OUT_FILL), 4);
    EXPECT_EQ(generator.count(WAVE_OUT_CLOSED), 1);
    EXPECT_EQ(panel.count(WAVE_OUT_CLOSED), 1);
    EXPECT_EQ(panel.count(WAVE_OUT_FILL), 0);
}

TEST_F(WaveOutTest, LaterZeroStopsRequestsAndTheQueuedBuffersPlayOut) {
    waveOut.setListener(&panel);
    generator.fillsLeft = 6;  // four at start, two refills, then 0
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    step(512);  // two buffers played and refilled
    EXPECT_TRUE(waveOut.isOpen());
    step(256);  // the third comes back: the client answers 0
    EXPECT_TRUE(waveOut.endOfData());
    EXPECT_EQ(generator.count(WAVE_OUT_FILL), 7);
    EXPECT_TRUE(waveOut.isOpen()) << "three buffers are still queued";
    step(512);
    EXPECT_TRUE(waveOut.isOpen());
    step(256);
    EXPECT_FALSE(waveOut.isOpen());
    EXPECT_EQ(generator.count(WAVE_OUT_FILL), 7) << "no fill requests after end of data";
    EXPECT_EQ(panel.count(WAVE_OUT_FILL), 6) << "the listener sees every returned buffer";
    EXPECT_EQ(log.back(), (Notification{"panel", WAVE_OUT_CLOSED}));
}

TEST_F(WaveOutTest, ClientThatIsAlsoListenerIsToldOnce) {
    waveOut.setListener(&generator);
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    step(256);
    waveOut.closeOutput();
    EXPECT_EQ(generator.count(WAVE_OUT_OPENED), 1);
    EXPECT_EQ(generator.count(WAVE_OUT_FILL), 5);
    EXPECT_EQ(generator.count(WAVE_OUT_CLOSED), 1);
}

TEST_F(WaveOutTest, OverlongAnswerIsKeptWithinTheBuffer) {
    generator.onNotify = [](WaveNotifyCode code, WaveBuffer* buffer) {
        return code == WAVE_OUT_FILL ? static_cast<long>(buffer->capacity) * 4 : 1L;
    };
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    step(2048);
    EXPECT_TRUE(waveOut.isOpen());
    EXPECT_EQ(waveOut.queuedCount(), 4);
}

TEST_F(WaveOutTest, TakeOverRestoresTheDeviceVolume) {
    card.setOutputVolume(0, 0x12345678);
    waveOut.openOutput(0, &generator, kParameters, true, true);
    waveOut.setOutputVolume(0x1000, 0x2000);
    EXPECT_EQ(card.outputVolume(0), 0x20001000u);
    waveOut.closeOutput();
    EXPECT_EQ(card.outputVolume(0), 0x12345678u);
}

TEST_F(WaveOutTest, VolumeSetWithoutTakeOverStays) {
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.setOutputVolume(0x1000, 0x2000);
    waveOut.closeOutput();
    EXPECT_EQ(card.outputVolume(0), 0x20001000u);
}

TEST_F(WaveOutTest, FlushReturnsEveryQueuedBufferForRefill) {
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    waveOut.flushOutput();
    waveOut.processCompleted();
    EXPECT_EQ(generator.count(WAVE_OUT_FILL), 8);
    EXPECT_EQ(waveOut.queuedCount(), 4);
}

TEST_F(WaveOutTest, PausedStreamConsumesNothing) {
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    waveOut.pauseOutput();
    step(2048);
    EXPECT_EQ(generator.count(WAVE_OUT_FILL), 4);
    waveOut.resumeOutput();
    step(256);
    EXPECT_EQ(generator.count(WAVE_OUT_FILL), 5);
}

// A finite signal whose last buffer is only partly filled: the device runs out of data in that
// period because the signal ended, not because the client was late.
TEST_F(WaveOutTest, SignalPlayedToItsEndCountsNoXrun) {
    long bytesLeft = 5 * 1024 + 300;
    generator.onNotify = [&](WaveNotifyCode code, WaveBuffer* buffer) -> long {
        if (code != WAVE_OUT_FILL) return 0;
        const long bytes = std::min<long>(bytesLeft, buffer->capacity);
        bytesLeft -= bytes;
        return bytes;
    };
    std::uint64_t mostXruns = 0;
    panel.onNotify = [&](WaveNotifyCode, WaveBuffer*) {
        mostXruns = std::max(mostXruns, waveOut.xruns());
        return 1L;
    };
    waveOut.setListener(&panel);
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    step(4096);
    EXPECT_FALSE(waveOut.isOpen());
    EXPECT_EQ(panel.count(WAVE_OUT_FILL), 6);  // six buffers played, the last one partly filled
    EXPECT_EQ(mostXruns, 0u);
    EXPECT_EQ(waveOut.xruns(), 0u);
}

// A client too late to refill: the device runs dry mid-signal, which counts; the count stays
// readable after the stream closes and starts again from 0 with the next stream.
TEST_F(WaveOutTest, LateClientCountsAnXrunThatOutlivesTheStream) {
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    step(512);
    card.advance(2048);  // four buffers' worth and more, none refilled
    waveOut.processCompleted();
    step(1024);
    EXPECT_EQ(waveOut.xruns(), 1u);
    waveOut.closeOutput();
    EXPECT_EQ(waveOut.xruns(), 1u);
    waveOut.openOutput(0, &generator, kParameters, true, false);
    EXPECT_EQ(waveOut.xruns(), 0u);
}

TEST_F(WaveOutTest, RemovedDeviceEndsInTheClosedNotification) {
    waveOut.openOutput(0, &generator, kParameters, true, false);
    waveOut.startOutput();
    card.removeDevice();
    waveOut.processCompleted();
    EXPECT_FALSE(waveOut.isOpen());
    EXPECT_EQ(generator.count(WAVE_OUT_CLOSED), 1);
}

}  // namespace
