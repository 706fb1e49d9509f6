// What a window asks for when it opens a wave stream.
#pragma once

#include <cstdint>

namespace phonomir {

struct WaveStreamParameters {
    int channels = 2;                 // 1 or 2
    std::uint32_t samplesPerSecond = 44100;
    int bitsPerSample = 16;           // 8 or 16
    int bufferCount = 4;              // 1..64
    std::uint32_t bufferBytes = 8192; // bytes per buffer, a whole number of frames
};

}  // namespace phonomir
