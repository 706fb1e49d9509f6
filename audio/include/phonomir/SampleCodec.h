// Converts PCM frames to and from floats (1.0 = full scale) for the device side: 16-bit signed
// little-endian or 8-bit unsigned samples, interleaved, one or two channels.
#pragma once

#include "phonomir/WaveFormat.h"

#include <cstdint>

namespace phonomir {

struct StereoSample {
    float left = 0.0f;
    float right = 0.0f;
};

// A mono frame gives the same value on both sides.
StereoSample decodeFrame(const std::uint8_t* frame, const WaveFormat& format);
// A mono format takes the left side. Values are clipped to the sample range.
void encodeFrame(StereoSample sample, std::uint8_t* frame, const WaveFormat& format);
// The byte value of silence: 128 for 8-bit samples, 0 for 16-bit.
std::uint8_t silenceByte(const WaveFormat& format);

}  // namespace phonomir
