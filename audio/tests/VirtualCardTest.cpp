#include "WaveTestSupport.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveOut.h"

#include <gtest/gtest.h>

using namespace phonomir;
using namespace phonomir::test;

namespace {

constexpr WaveStreamParameters kStereo{2, 48000, 16, 4, 1024};

std::int16_t sampleAt(const std::vector<std::uint8_t>& bytes, std::size_t index) {
    return static_cast<std::int16_t>(bytes[2 * index] | (bytes[2 * index + 1] << 8));
}

// Plays a constant 16-bit value through the card while recording, and returns what came back.
struct Loop {
    explicit Loop(VirtualCardConfig config) : card(std::move(config)) {
        player.onNotify = [](WaveNotifyCode code, WaveBuffer* buffer) {
            if (code != WAVE_OUT_FILL) return 1L;
            for (std::uint32_t i = 0; i + 1 < buffer->bufferLength; i += 2) {
                buffer->data[i] = 0x00;  // 16384 = 0x4000
                buffer->data[i + 1] = 0x40;
            }
            return static_cast<long>(buffer->bufferLength);
        };
    }

    std::vector<std::uint8_t> run(std::uint32_t frames, const WaveStreamParameters& input = kStereo) {
        waveOut.openOutput(0, &player, kStereo, true, false);
        waveIn.openInput(0, &recorder, input, true);
        waveIn.startInput();
        waveOut.startOutput();
        for (std::uint32_t done = 0; done < frames; done += 64) {
            card.advance(64);
            waveIn.processCompleted();
            waveOut.processCompleted();
        }
        std::vector<std::uint8_t> all;
        for (const auto& buffer : recorder.received) all.insert(all.end(), buffer.begin(), buffer.end());
        return all;
    }

    std::vector<Notification> log;
    RecordingClient player{"player", log}, recorder{"recorder", log};
    VirtualSoundCard card;
    WaveIn waveIn{card, nullptr, nullptr, nullptr};
    WaveOut waveOut{card, nullptr, nullptr, nullptr};
};

TEST(VirtualCardTest, PlayedSignalComesBackDelayedAndScaled) {
    VirtualCardConfig config;
    config.delayFrames = 100;
    config.gain = 0.5f;
    config.noisePeak = 0.0f;
    Loop loop(config);
    const auto recorded = loop.run(2048);
    ASSERT_EQ(recorded.size(), 2048u * 4);
    EXPECT_EQ(sampleAt(recorded, 2 * 99), 0);
    EXPECT_EQ(sampleAt(recorded, 2 * 100), 8192);
    EXPECT_EQ(sampleAt(recorded, 2 * 100 + 1), 8192);
    EXPECT_EQ(sampleAt(recorded, 2 * 2047), 8192);
}

TEST(VirtualCardTest, RecordingLevelAndFirShapeTheInput) {
    VirtualCardConfig config;
    config.noisePeak = 0.0f;
    config.fir = {0.0f, 0.25f, 0.25f};
    Loop loop(config);
    loop.card.setRecordingLevel(0.5f);
    const auto recorded = loop.run(1024);
    EXPECT_EQ(sampleAt(recorded, 0), 0);
    EXPECT_EQ(sampleAt(recorded, 2), 2048);
    EXPECT_EQ(sampleAt(recorded, 4), 4096);
}

TEST(VirtualCardTest, SameSeedRecordsTheSameBitsAndAnotherSeedDoesNot) {
    auto recordNoise = [](std::uint32_t seed) {
        VirtualCardConfig config;
        config.noiseSeed = seed;
        return Loop(config).run(1024);
    };
    const auto first = recordNoise(7);
    EXPECT_EQ(first, recordNoise(7));
    EXPECT_NE(first, recordNoise(8));
}

TEST(VirtualCardTest, NoiseFloorStaysWithinItsPeak) {
    VirtualCardConfig config;
    config.noisePeak = 0.002f;
    Loop loop(config);
    loop.player.onNotify = [](WaveNotifyCode, WaveBuffer*) { return 0L; };
    const auto recorded = loop.run(1024);
    int peak = 0;
    for (std::size_t i = 0; i < recorded.size() / 2; ++i) peak = std::max(peak, std::abs(int{sampleAt(recorded, i)}));
    EXPECT_GT(peak, 30);
    EXPECT_LE(peak, 66);
}

TEST(VirtualCardTest, InputAtAnotherRateHearsTheSameSignal) {
    VirtualCardConfig config;
    config.noisePeak = 0.0f;
    Loop loop(config);
    const auto recorded = loop.run(4800, {1, 44100, 16, 4, 882});
    ASSERT_GE(recorded.size(), 4u * 882);
    EXPECT_EQ(sampleAt(recorded, 1000), 16384);
}

}  // namespace
