// Reads a RIFF/WAVE PCM stream chunk by chunk from a ByteSource into a new wave block. It
// never trusts a declared size: chunks are skipped only as far as bytes exist, the data is
// gathered as it arrives (never allocated by its declared size), a longer fmt chunk gives its
// first 16 bytes, odd chunks are skipped with their pad byte, and every step consumes input,
// so it always ends. Called on the caller's thread.
#pragma once

#include "WaveLayout.h"
#include "ByteSource.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

class RiffWaveReader {
public:
    explicit RiffWaveReader(ByteSource &source) : source_(source) {}

    // Reads the stream into a new block in *block (the caller frees it). Returns 0, 8008 (not
    // RIFF/WAVE PCM: missing RIFF, WAVE, fmt or data, two fmt chunks, an unusable format),
    // 8002 (the data came up short) or 8003 (out of memory). On failure *block is null.
    std::uint32_t read(MMMemBlock **block);

private:
    std::uint32_t findFormatAndData(WaveBlockHead &head);
    std::uint32_t readFormat(std::uint32_t chunkBytes, WaveFormat &format);
    bool skipChunk(std::uint64_t chunkBytes);
    std::uint32_t readData(const WaveBlockHead &head, MMMemBlock **block);

    ByteSource &source_;
};

}  // namespace avstore
