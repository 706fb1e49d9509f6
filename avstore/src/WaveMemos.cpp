#include "WaveMemos.h"

#include "LockedWaveBlock.h"
#include "MemoRecords.h"
#include "RiffWaveReader.h"
#include "avstore32.h"

#include <climits>
#include <cstring>
#include <new>
#include <vector>

namespace avstore {

std::uint32_t readTaggedWave(ByteSource &source, MMMemBlock **block) {
    *block = nullptr;
    std::uint8_t tag[kTagBytes] = {};
    if (source.read(tag, sizeof tag) != sizeof tag || (tag[0] | tag[1] << 8) != MM_TAG_WAVE) return MM_WRONG_MEDIA_TYPE;
    return RiffWaveReader(source).read(block);
}

std::uint32_t readWaveMemo(MMMemBlock **block, std::uint32_t table, const char *field) {
    if (!block) return MM_CANNOT_LOCK;
    return readMemoRecord(table, field, block, readTaggedWave);
}

// The record is written with one memo write, so the field holds either the whole new record
// or, when the write fails, its earlier content.
std::uint32_t writeWaveMemo(MMMemBlock *block, std::uint32_t table, const char *field, std::uint16_t tag) {
    if (tag != MM_TAG_WAVE) return MM_WRONG_MEDIA_TYPE;
    const LockedWaveBlock wave(block);
    if (wave.status() != MM_OK) return wave.status();
    const std::size_t length = kTagBytes + kCanonicalHeaderBytes + wave.head().dataBytes;
    if (length > INT32_MAX) return MM_OUT_OF_MEMORY;
    std::vector<std::uint8_t> record;
    try {
        record.resize(length);
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    record[0] = MM_TAG_WAVE & 0xFF;
    record[1] = MM_TAG_WAVE >> 8;
    const auto header = canonicalHeader(wave.head());
    std::memcpy(record.data() + kTagBytes, header.data(), header.size());
    if (wave.head().dataBytes) std::memcpy(record.data() + kTagBytes + header.size(), wave.data(), wave.head().dataBytes);
    return writeMemo(table, field, record.data(), length);
}

}  // namespace avstore
