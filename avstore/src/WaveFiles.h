// Wave blocks to and from RIFF/WAVE files on disk. Called on the caller's thread.
#pragma once

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// See MMWaveReadFile and MMWaveWriteFile in avstore32.h.
std::uint32_t readWaveFile(MMMemBlock **block, const char *path);
std::uint32_t writeWaveFile(MMMemBlock *block, const char *path);

}  // namespace avstore
