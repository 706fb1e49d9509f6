// One buffer of a wave stream, the counterpart of a wave header: its data block and the number
// of valid bytes in it. Allocated when a stream opens, freed when it closes; between queueing
// and its completion only the device side touches it.
#pragma once

#include <cstdint>

namespace phonomir {

struct WaveBuffer {
    std::uint8_t* data = nullptr;
    std::uint32_t capacity = 0;      // bytes allocated
    std::uint32_t bufferLength = 0;  // bytes to play (output) or recorded (input)
    int index = 0;                   // position in the stream's ring
};

}  // namespace phonomir
