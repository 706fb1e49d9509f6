// The bridge between a device thread and the UI thread, with real threads: run it under
// ThreadSanitizer as well as the usual sanitizers.
#include "WaveTestSupport.h"
#include "phonomir/EventFdWake.h"
#include "phonomir/RealTimeClock.h"
#include "phonomir/StreamRing.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveIn.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace phonomir;
using namespace phonomir::test;

namespace {

void waitForWake(EventFdWake& wake) {
    pollfd descriptor{wake.fd(), POLLIN, 0};
    ::poll(&descriptor, 1, 20);
    wake.drain();
}

TEST(BridgeTest, RecordedBytesArriveInOrderAcrossThreads) {
    EventFdWake wake;
    StreamRing ring(4, 256, &wake);
    for (int index = 0; index < ring.size(); ++index) ring.submit(index);
    std::atomic<bool> stop{false};
    std::thread device([&] {
        std::uint8_t period[96];
        std::uint8_t next = 0;
        while (!stop.load()) {
            for (auto& byte : period) byte = next++;
            // A full ring drops the period; count what was stored so the sequence stays whole.
            const std::size_t stored = ring.writeQueued(period, sizeof period);
            next = static_cast<std::uint8_t>(next - (sizeof period - stored));
            if (stored < sizeof period) std::this_thread::yield();
        }
    });
    std::uint8_t expected = 0;
    int buffers = 0;
    bool inOrder = true;
    while (buffers < 2000) {
        waitForWake(wake);
        int index = 0;
        while (ring.takeDone(index)) {
            const WaveBuffer& buffer = ring.buffer(index);
            for (std::uint32_t i = 0; i < buffer.bufferLength; ++i) inOrder = inOrder && buffer.data[i] == expected++;
            ring.submit(index);
            ++buffers;
        }
    }
    stop.store(true);
    device.join();
    EXPECT_TRUE(inOrder);
}

TEST(BridgeTest, VirtualCardInRealTimeWakesTheRecordingClient) {
    VirtualSoundCard card;
    EventFdWake wake;
    WaveIn waveIn(card, nullptr, nullptr, &wake);
    std::vector<Notification> log;
    RecordingClient client("client", log);
    ASSERT_EQ(waveIn.openInput(0, &client, {2, 48000, 16, 4, 1920}, true), 1);  // 10 ms buffers
    waveIn.startInput();
    {
        RealTimeClock clock(card, 96);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (client.count(WAVE_IN_DATA) < 20 && std::chrono::steady_clock::now() < deadline) {
            waitForWake(wake);
            waveIn.processCompleted();
        }
        waveIn.closeInput();
    }
    EXPECT_GE(client.count(WAVE_IN_DATA), 20);
    EXPECT_EQ(client.count(WAVE_IN_CLOSED), 1);
    EXPECT_EQ(card.elapsedFrames() % 96, 0);
}

}  // namespace
