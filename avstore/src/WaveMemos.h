// Wave blocks to and from memo fields: a 2-byte tag 0x1411, the 44-byte header, the data.
// Called on the caller's thread.
#pragma once

#include "ByteSource.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// Reads a tagged wave record (tag, then a RIFF/WAVE stream) from source into a new block.
// 8004 for another tag or none (an empty or 1-byte record), else as RiffWaveReader::read.
std::uint32_t readTaggedWave(ByteSource &source, MMMemBlock **block);
// See MMWaveReadDB and MMWaveWriteDB in avstore32.h.
std::uint32_t readWaveMemo(MMMemBlock **block, std::uint32_t table, const char *field);
std::uint32_t writeWaveMemo(MMMemBlock *block, std::uint32_t table, const char *field, std::uint16_t tag);

}  // namespace avstore
