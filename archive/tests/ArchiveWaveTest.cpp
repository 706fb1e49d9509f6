// Wave blocks as outside bytes: what is taken and what is refused.
#include "phonomir/ArchiveWave.h"

#include <gtest/gtest.h>

#include <vector>

using namespace phonomir;

namespace {

std::vector<std::uint8_t> block(int channels, int bits, int rate, std::uint32_t length, std::vector<std::uint8_t> data) {
    std::vector<std::uint8_t> b = {static_cast<std::uint8_t>(channels), 0, static_cast<std::uint8_t>(bits), 0};
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<std::uint8_t>(rate >> (8 * k)));
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<std::uint8_t>(length >> (8 * k)));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

}  // namespace

TEST(ArchiveWave, ABlockMadeFromAWaveReadsBackAsIt) {
    const ArchiveWave wave{48000, 2, {1, -1, 32767, -32768, 0, 258}};
    const WaveBlock made = makeWaveBlock(wave);
    ASSERT_TRUE(made);
    EXPECT_EQ(MMMemSize(made.get()), 12u + 12u);
    const std::optional<ArchiveWave> back = waveFromBlock(made.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->samples, wave.samples);
    EXPECT_EQ(back->sampleRate, 48000);
    EXPECT_EQ(back->channels, 2);
    EXPECT_EQ(back->frames(), 3);
}

TEST(ArchiveWave, MalformedBlocksAreRefusedOrCutToWholeFrames) {
    EXPECT_FALSE(waveFromBlockBytes({}));
    EXPECT_FALSE(waveFromBlockBytes(std::vector<std::uint8_t>(11, 0)));
    EXPECT_FALSE(waveFromBlockBytes(block(1, 8, 8000, 2, {1, 2})));     // 8 bits
    EXPECT_FALSE(waveFromBlockBytes(block(3, 16, 8000, 6, {1, 2, 3, 4, 5, 6})));
    EXPECT_FALSE(waveFromBlockBytes(block(0, 16, 8000, 0, {})));
    EXPECT_FALSE(waveFromBlockBytes(block(1, 16, 0, 2, {1, 2})));
    EXPECT_FALSE(waveFromBlockBytes(block(1, 16, -8000, 2, {1, 2})));
    // A length beyond the block reads what is there; a partial frame is dropped.
    const auto claimed = waveFromBlockBytes(block(2, 16, 8000, 0xFFFFFFF0u, {1, 0, 2, 0, 3}));
    ASSERT_TRUE(claimed);
    EXPECT_EQ(claimed->samples, (std::vector<std::int16_t>{1, 2}));
    const auto shorter = waveFromBlockBytes(block(1, 16, 8000, 2, {1, 0, 9, 9}));
    ASSERT_TRUE(shorter);
    EXPECT_EQ(shorter->samples, std::vector<std::int16_t>{1});
    EXPECT_FALSE(waveFromBlock(nullptr));
}
