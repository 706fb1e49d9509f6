// A stored recording's sound as the archive moves it: interleaved 16-bit samples with their rate
// and channel count, and its passage to and from a wave block of the media store library
// (12-byte head: int16 channels, int16 bits, int32 rate, int32 data bytes; then the samples,
// little-endian). Blocks read back from a memo field or a file are outside bytes: only 16-bit
// blocks of one or two channels at a positive rate are taken, and a trailing partial frame is
// dropped.
#pragma once

#include "avstore32.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace phonomir {

struct ArchiveWave {
    int sampleRate = 0;                 // Hz, 1 .. 1000000
    int channels = 1;                   // 1 or 2
    std::vector<std::int16_t> samples;  // interleaved, left first

    std::int64_t frames() const { return static_cast<std::int64_t>(samples.size()) / channels; }
};

struct WaveBlockFree {
    void operator()(MMMemBlock* block) const { MMMemFree(block); }
};
using WaveBlock = std::unique_ptr<MMMemBlock, WaveBlockFree>;

// The block's bytes as a wave; empty when the head is not one this program can use.
std::optional<ArchiveWave> waveFromBlockBytes(std::span<const std::uint8_t> bytes);
// The block as a wave (empty for a block that cannot be locked or is not usable).
std::optional<ArchiveWave> waveFromBlock(MMHANDLE block);
// A new block holding the wave (16 bits); null when memory runs out or it is too long.
WaveBlock makeWaveBlock(const ArchiveWave& wave);

}  // namespace phonomir
