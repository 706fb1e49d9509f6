#include "phonomir/ArchiveWave.h"

#include "phonomir/ByteCodec.h"

#include <limits>

namespace phonomir {
namespace {

constexpr std::size_t kHeadBytes = 12;
constexpr int kMostRate = 1000000;

}  // namespace

std::optional<ArchiveWave> waveFromBlockBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeadBytes) return std::nullopt;
    const LittleEndianReader head(bytes.first(kHeadBytes));
    ArchiveWave wave;
    wave.channels = head.int16(0);
    const int bits = head.int16(2);
    wave.sampleRate = head.int32(4);
    const std::uint32_t dataBytes = head.uint32(8);
    if ((wave.channels != 1 && wave.channels != 2) || bits != 16 || wave.sampleRate < 1 || wave.sampleRate > kMostRate)
        return std::nullopt;
    const std::size_t available = std::min<std::size_t>(dataBytes, bytes.size() - kHeadBytes);
    const std::size_t frameBytes = 2 * static_cast<std::size_t>(wave.channels);
    wave.samples.resize(available / frameBytes * wave.channels);
    const std::uint8_t* data = bytes.data() + kHeadBytes;
    for (std::size_t i = 0; i < wave.samples.size(); ++i)
        wave.samples[i] = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return wave;
}

std::optional<ArchiveWave> waveFromBlock(MMHANDLE block) {
    const auto* bytes = static_cast<const std::uint8_t*>(MMMemLock(block));
    if (!bytes) return std::nullopt;
    std::optional<ArchiveWave> wave = waveFromBlockBytes({bytes, MMMemSize(block)});
    MMMemUnlock(block);
    return wave;
}

WaveBlock makeWaveBlock(const ArchiveWave& wave) {
    const std::size_t dataBytes = wave.samples.size() * 2;
    if (dataBytes > std::numeric_limits<std::int32_t>::max() - kHeadBytes) return nullptr;
    WaveBlock block(MMMemAlloc(kHeadBytes + dataBytes));
    auto* bytes = block ? static_cast<std::uint8_t*>(MMMemLock(block.get())) : nullptr;
    if (!bytes) return nullptr;
    LittleEndianWriter head(std::span<std::uint8_t>(bytes, kHeadBytes));
    head.putInt16(0, static_cast<std::int16_t>(wave.channels));
    head.putInt16(2, 16);
    head.putInt32(4, wave.sampleRate);
    head.putUint32(8, static_cast<std::uint32_t>(dataBytes));
    for (std::size_t i = 0; i < wave.samples.size(); ++i) {
        bytes[kHeadBytes + 2 * i] = static_cast<std::uint8_t>(wave.samples[i] & 0xFF);
        bytes[kHeadBytes + 2 * i + 1] = static_cast<std::uint8_t>((wave.samples[i] >> 8) & 0xFF);
    }
    MMMemUnlock(block.get());
    return block;
}

}  // namespace phonomir
