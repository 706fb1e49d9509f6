// The PCM format of one wave stream: interleaved frames, channel 0 = left; 16-bit samples are
// signed little-endian, 8-bit samples unsigned with 128 as silence.
#pragma once

#include <cstdint>

namespace phonomir {

struct WaveFormat {
    std::uint16_t channels = 2;          // 1 or 2
    std::uint32_t samplesPerSecond = 44100;  // Hz
    std::uint16_t bitsPerSample = 16;    // 8 or 16

    std::uint16_t blockAlign() const { return static_cast<std::uint16_t>(channels * (bitsPerSample / 8)); }
    std::uint32_t averageBytesPerSecond() const { return blockAlign() * samplesPerSecond; }
};

}  // namespace phonomir
