#include "RiffWaveReader.h"

#include "MemoryBlock.h"
#include "avstore32.h"
#include "phonomir/ByteCodec.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace avstore {
namespace {

constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatRecordBytes = 16;
constexpr std::size_t kGatherBytes = 65536;                          // data is gathered in pieces this big
constexpr std::uint64_t kMaxDataBytes = 0x7FFFFFFF - kWaveBlockHeadBytes;  // the head's int32 length

bool hasId(const std::uint8_t *bytes, const char *id) { return std::memcmp(bytes, id, 4) == 0; }

}  // namespace

bool RiffWaveReader::skipChunk(std::uint64_t chunkBytes) {
    const std::uint64_t padded = chunkBytes + (chunkBytes & 1);
    return source_.skip(padded) == padded;
}

std::uint32_t RiffWaveReader::readFormat(std::uint32_t chunkBytes, WaveFormat &format) {
    if (chunkBytes < kFormatRecordBytes) return MM_NOT_PCM_WAVE;
    std::uint8_t record[kFormatRecordBytes];
    if (source_.read(record, sizeof record) != sizeof record) return MM_NOT_PCM_WAVE;
    const phonomir::LittleEndianReader reader(record);
    if (static_cast<std::uint16_t>(reader.int16(0)) != kPcmFormatTag) return MM_NOT_PCM_WAVE;
    format.channels = static_cast<std::uint16_t>(reader.int16(2));
    format.samplesPerSecond = reader.uint32(4);
    format.bitsPerSample = static_cast<std::uint16_t>(reader.int16(14));
    if (!isUsableFormat(format)) return MM_NOT_PCM_WAVE;
    skipChunk(static_cast<std::uint64_t>(chunkBytes) - kFormatRecordBytes);  // a short skip ends the stream
    return MM_OK;
}

// Walks the chunks: the first "fmt " gives the format, the first "data" after it the length.
std::uint32_t RiffWaveReader::findFormatAndData(WaveBlockHead &head) {
    std::uint8_t riff[12];
    if (source_.read(riff, sizeof riff) != sizeof riff) return MM_NOT_PCM_WAVE;
    if (!hasId(riff, "RIFF") || !hasId(riff + 8, "WAVE")) return MM_NOT_PCM_WAVE;
    bool haveFormat = false;
    for (;;) {
        std::uint8_t chunk[kChunkHeaderBytes];
        if (source_.read(chunk, sizeof chunk) != sizeof chunk) return MM_NOT_PCM_WAVE;
        const std::uint32_t size = phonomir::LittleEndianReader(chunk).uint32(4);
        if (hasId(chunk, "fmt ")) {
            if (haveFormat) return MM_NOT_PCM_WAVE;  // two formats: which one is meant is unknown
            if (const std::uint32_t status = readFormat(size, head.format)) return status;
            haveFormat = true;
        } else if (haveFormat && hasId(chunk, "data")) {
            head.dataBytes = size;
            return MM_OK;
        } else if (!skipChunk(size)) {
            return MM_NOT_PCM_WAVE;
        }
    }
}

std::uint32_t RiffWaveReader::readData(const WaveBlockHead &head, MMMemBlock **block) {
    std::vector<std::uint8_t> data;
    try {
        while (data.size() < head.dataBytes) {
            if (data.size() >= kMaxDataBytes) return MM_OUT_OF_MEMORY;
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kGatherBytes, head.dataBytes - data.size()));
            const std::size_t start = data.size();
            data.resize(start + want);
            const std::size_t got = source_.read(data.data() + start, want);
            if (got < want) return MM_FILE_ERROR;
        }
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    MMMemBlock *made = allocateBlock(kWaveBlockHeadBytes + data.size());
    if (!made) return MM_OUT_OF_MEMORY;
    auto *bytes = static_cast<std::uint8_t *>(lockBlock(made));
    encodeBlockHead(head, std::span<std::uint8_t, kWaveBlockHeadBytes>(bytes, kWaveBlockHeadBytes));
    if (!data.empty()) std::memcpy(bytes + kWaveBlockHeadBytes, data.data(), data.size());
    unlockBlock(made);
    *block = made;
    return MM_OK;
}

std::uint32_t RiffWaveReader::read(MMMemBlock **block) {
    *block = nullptr;
    WaveBlockHead head;
    const std::uint32_t status = findFormatAndData(head);
    return status != MM_OK ? status : readData(head, block);
}

}  // namespace avstore
