#include "WaveMemos.h"

#include "LockedWaveBlock.h"
#include "MemoByteSource.h"
#include "MemoryBlock.h"
#include "RiffWaveReader.h"
#include "avstore32.h"
#include "dbkengine.h"

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
    *block = nullptr;
    MemoByteSource source(table, field);
    const std::uint32_t status = readTaggedWave(source, block);
    source.finish();
    if (source.engineStatus() == 0) return status;
    freeBlock(*block);  // an engine failure outranks what the reader made of the cut stream
    *block = nullptr;
    return static_cast<std::uint32_t>(source.engineStatus());
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
    TableError(table);
    MemoWrite(table, field, record.data(), static_cast<int32_t>(length));
    return static_cast<std::uint32_t>(TableError(table));
}

}  // namespace avstore
