// The real PortAudio path against a JACK server whose "loopback" ports send back whatever is
// played to them (jackd -L 2 ... -d dummy). Skips when no such server is reachable.
#include "WaveTestSupport.h"
#include "phonomir/EventFdWake.h"
#include "phonomir/PortAudioEngine.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveOut.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <new>
#include <thread>

// Counts every C++ allocation in the process, so that a stretch in which only the audio
// callbacks run can be checked for allocations.
#include "phonomir/testing/AllocationCounter.h"

using phonomir::testing::allocationCount;

using namespace phonomir;
using namespace phonomir::test;

namespace {

constexpr std::uint32_t kRate = 48000;
constexpr double kFrequency = 1000.0;
constexpr double kAmplitude = 16384.0;

long fillTone(WaveBuffer* buffer, std::uint64_t& frame) {
    auto* samples = reinterpret_cast<std::int16_t*>(buffer->data);
    for (std::uint32_t i = 0; i < buffer->bufferLength / 4; ++i, ++frame) {
        const auto value = static_cast<std::int16_t>(std::lround(kAmplitude * std::sin(2 * M_PI * kFrequency * frame / kRate)));
        samples[2 * i] = samples[2 * i + 1] = value;
    }
    return static_cast<long>(buffer->bufferLength);
}

std::vector<std::int16_t> leftChannel(const std::vector<std::vector<std::uint8_t>>& buffers) {
    std::vector<std::int16_t> left;
    for (const auto& buffer : buffers) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(buffer.data());
        for (std::size_t i = 0; i + 1 < buffer.size() / 2; i += 2) left.push_back(samples[i]);
    }
    return left;
}

TEST(PortAudioLoopTest, PlayedToneIsRecordedBackAtItsLevelAndFrequency) {
    PortAudioEngine engine({"JACK Audio Connection Kit", "loopback"});
    if (engine.findDevice(0, StreamDirection::Input) < 0 || engine.findDevice(0, StreamDirection::Output) < 0) {
        GTEST_SKIP() << "no JACK server with loopback ports is reachable";
    }
    EventFdWake wake;
    WaveIn waveIn(engine, nullptr, nullptr, &wake);
    WaveOut waveOut(engine, nullptr, nullptr, &wake);
    std::vector<Notification> log;
    RecordingClient player("player", log), recorder("recorder", log);
    std::uint64_t frame = 0;
    player.onNotify = [&](WaveNotifyCode code, WaveBuffer* buffer) { return code == WAVE_OUT_FILL ? fillTone(buffer, frame) : 1L; };
    const WaveStreamParameters parameters{2, kRate, 16, 4, 8192};
    ASSERT_EQ(waveOut.openOutput(0, &player, parameters, false, false), 1);
    ASSERT_EQ(waveIn.openInput(0, &recorder, parameters, false), 1);
    waveIn.startInput();
    waveOut.startOutput();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (recorder.received.size() < 40 && std::chrono::steady_clock::now() < deadline) {
        pollfd descriptor{wake.fd(), POLLIN, 0};
        ::poll(&descriptor, 1, 100);
        wake.drain();
        waveIn.processCompleted();
        waveOut.processCompleted();
    }
    // Only the callbacks run now (the UI thread sleeps): they must not allocate.
    const long before = allocationCount.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long during = allocationCount.load() - before;
    waveIn.closeInput();
    waveOut.closeOutput();
    EXPECT_EQ(during, 0) << "allocations while only the audio callbacks ran";
    ASSERT_GE(recorder.received.size(), 40u) << "fewer than 40 buffers recorded in 10 s";
    const auto left = leftChannel(recorder.received);
    const std::size_t first = left.size() / 2, count = kRate / 2;  // the second half: the loop is settled
    ASSERT_GE(left.size(), first + count);
    int peak = 0, crossings = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        peak = std::max(peak, std::abs(int{left[i]}));
        crossings += left[i - 1] < 0 && left[i] >= 0;
    }
    EXPECT_NEAR(peak, kAmplitude, kAmplitude * 0.02);
    EXPECT_NEAR(crossings * 2.0, kFrequency, 6.0);  // rising zero crossings in half a second
}

}  // namespace
