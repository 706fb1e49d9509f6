#include "WaveLayout.h"

#include "phonomir/ByteCodec.h"

#include <cstring>

namespace avstore {
namespace {

// Offsets of the 12-byte wave block head.
constexpr std::size_t kHeadChannels = 0, kHeadBits = 2, kHeadRate = 4, kHeadLength = 8;
static_assert(kHeadLength + 4 == kWaveBlockHeadBytes);
// Offsets of the canonical header.
constexpr std::size_t kRiffSize = 4, kFmtSize = 16, kFormatTag = 20, kChannels = 22, kRate = 24,
                      kBytesPerSecond = 28, kBlockAlign = 32, kBits = 34, kDataId = 36, kDataSize = 40;
static_assert(kDataSize + 4 == kCanonicalHeaderBytes);

void putId(std::span<std::uint8_t> bytes, std::size_t offset, const char (&id)[5]) {
    std::memcpy(bytes.data() + offset, id, 4);
}

}  // namespace

bool isUsableFormat(const WaveFormat &format) {
    const bool bitsOk = format.bitsPerSample == 8 || format.bitsPerSample == 16 || format.bitsPerSample == 24 ||
                        format.bitsPerSample == 32;
    return bitsOk && format.channels >= 1 && format.channels <= 32767 && format.samplesPerSecond >= 1 &&
           format.samplesPerSecond <= 0x7FFFFFFF;
}

void encodeBlockHead(const WaveBlockHead &head, std::span<std::uint8_t, kWaveBlockHeadBytes> bytes) {
    phonomir::LittleEndianWriter writer(bytes);
    writer.putInt16(kHeadChannels, static_cast<std::int16_t>(head.format.channels));
    writer.putInt16(kHeadBits, static_cast<std::int16_t>(head.format.bitsPerSample));
    writer.putUint32(kHeadRate, head.format.samplesPerSecond);
    writer.putUint32(kHeadLength, head.dataBytes);
}

WaveBlockHead decodeBlockHead(std::span<const std::uint8_t, kWaveBlockHeadBytes> bytes) {
    const phonomir::LittleEndianReader reader(bytes);
    WaveBlockHead head;
    const std::int16_t channels = reader.int16(kHeadChannels);
    const std::int16_t bits = reader.int16(kHeadBits);
    const std::int32_t rate = reader.int32(kHeadRate);
    const std::int32_t length = reader.int32(kHeadLength);
    head.format.channels = channels > 0 ? static_cast<std::uint16_t>(channels) : 0;
    head.format.bitsPerSample = bits > 0 ? static_cast<std::uint16_t>(bits) : 0;
    head.format.samplesPerSecond = rate > 0 ? static_cast<std::uint32_t>(rate) : 0;
    head.dataBytes = length >= 0 ? static_cast<std::uint32_t>(length) : 0xFFFFFFFFu;  // negative: impossible
    return head;
}

std::array<std::uint8_t, kCanonicalHeaderBytes> canonicalHeader(const WaveBlockHead &head) {
    std::array<std::uint8_t, kCanonicalHeaderBytes> bytes{};
    phonomir::LittleEndianWriter writer(bytes);
    const std::uint32_t bytesPerFrame = static_cast<std::uint32_t>(head.format.bitsPerSample / 8) * head.format.channels;
    putId(bytes, 0, "RIFF");
    writer.putUint32(kRiffSize, head.dataBytes + 36);
    putId(bytes, 8, "WAVE");
    putId(bytes, 12, "fmt ");
    writer.putUint32(kFmtSize, 16);
    writer.putInt16(kFormatTag, kPcmFormatTag);
    writer.putInt16(kChannels, static_cast<std::int16_t>(head.format.channels));
    writer.putUint32(kRate, head.format.samplesPerSecond);
    writer.putUint32(kBytesPerSecond, bytesPerFrame * head.format.samplesPerSecond);
    writer.putInt16(kBlockAlign, static_cast<std::int16_t>(bytesPerFrame));
    writer.putInt16(kBits, static_cast<std::int16_t>(head.format.bitsPerSample));
    putId(bytes, kDataId, "data");
    writer.putUint32(kDataSize, head.dataBytes);
    return bytes;
}

}  // namespace avstore
