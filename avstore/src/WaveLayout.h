// The stored forms of a wave: the 12-byte head of a wave block and the canonical 44-byte
// RIFF/WAVE header, each encoded and decoded explicitly little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace avstore {

constexpr std::size_t kWaveBlockHeadBytes = 12;
constexpr std::size_t kCanonicalHeaderBytes = 44;
constexpr std::size_t kTagBytes = 2;
constexpr std::uint16_t kPcmFormatTag = 1;

// The format of a PCM wave: what the block head and the fmt chunk both carry.
struct WaveFormat {
    std::uint16_t channels = 0;          // 1..32767 (1 or 2 from this program)
    std::uint16_t bitsPerSample = 0;     // 8, 16, 24 or 32
    std::uint32_t samplesPerSecond = 0;  // 1..2^31-1
};

// Wave block head: int16 channels, int16 bits, int32 rate, int32 data length.
struct WaveBlockHead {
    WaveFormat format;
    std::uint32_t dataBytes = 0;  // 0..2^31-13 (the block holds head and data)
};

bool isUsableFormat(const WaveFormat &format);
void encodeBlockHead(const WaveBlockHead &head, std::span<std::uint8_t, kWaveBlockHeadBytes> bytes);
WaveBlockHead decodeBlockHead(std::span<const std::uint8_t, kWaveBlockHeadBytes> bytes);
// "RIFF", data+36, "WAVE", "fmt " 16 PCM channels rate bytes/s align bits, "data", data.
std::array<std::uint8_t, kCanonicalHeaderBytes> canonicalHeader(const WaveBlockHead &head);

}  // namespace avstore
