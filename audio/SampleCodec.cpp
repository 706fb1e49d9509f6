#include "phonomir/SampleCodec.h"

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

float decodeSample(const std::uint8_t* bytes, int bits) {
    if (bits == 8) return (static_cast<int>(bytes[0]) - 128) / 128.0f;
    const auto value = static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
    return value / 32768.0f;
}

void encodeSample(float value, std::uint8_t* bytes, int bits) {
    if (bits == 8) {
        const long scaled = std::lround(value * 128.0f) + 128;
        bytes[0] = static_cast<std::uint8_t>(std::clamp(scaled, 0L, 255L));
        return;
    }
    const long scaled = std::clamp(std::lround(value * 32768.0f), -32768L, 32767L);
    bytes[0] = static_cast<std::uint8_t>(scaled & 0xFF);
    bytes[1] = static_cast<std::uint8_t>((scaled >> 8) & 0xFF);
}

}  // namespace

StereoSample decodeFrame(const std::uint8_t* frame, const WaveFormat& format) {
    const float left = decodeSample(frame, format.bitsPerSample);
    if (format.channels < 2) return {left, left};
    return {left, decodeSample(frame + format.bitsPerSample / 8, format.bitsPerSample)};
}

void encodeFrame(StereoSample sample, std::uint8_t* frame, const WaveFormat& format) {
    encodeSample(sample.left, frame, format.bitsPerSample);
    if (format.channels >= 2) encodeSample(sample.right, frame + format.bitsPerSample / 8, format.bitsPerSample);
}

std::uint8_t silenceByte(const WaveFormat& format) { return format.bitsPerSample == 8 ? 128 : 0; }

}  // namespace phonomir
