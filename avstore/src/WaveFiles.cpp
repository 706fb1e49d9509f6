#include "WaveFiles.h"

#include "FileByteSource.h"
#include "LockedWaveBlock.h"
#include "MediaTypes.h"
#include "MemoryBlock.h"
#include "RiffWaveReader.h"
#include "WrittenFile.h"
#include "avstore32.h"

#include <cstdio>

namespace avstore {
namespace {

bool writeAll(std::FILE *file, const void *bytes, std::size_t count) {
    return count == 0 || std::fwrite(bytes, 1, count, file) == count;
}

}  // namespace

std::uint32_t readWaveFile(MMMemBlock **block, const char *path) {
    if (!block) return MM_CANNOT_LOCK;
    *block = nullptr;
    if (!isWaveFileName(path)) return MM_NOT_WAVE_FILE_NAME;
    std::FILE *file = std::fopen(path, "rb");
    if (!file) return MM_FILE_ERROR;
    FileByteSource source(file);
    std::uint32_t status = RiffWaveReader(source).read(block);
    if (std::ferror(file)) {  // a read failed (a directory, a device error): no stream was judged
        freeBlock(*block);
        *block = nullptr;
        status = MM_FILE_ERROR;
    }
    std::fclose(file);
    return status;
}

std::uint32_t writeWaveFile(MMMemBlock *block, const char *path) {
    if (!isWaveFileName(path)) return MM_NOT_WAVE_FILE_NAME;
    const LockedWaveBlock wave(block);
    if (wave.status() != MM_OK) return wave.status();
    std::FILE *file = std::fopen(path, "wb");
    if (!file) return MM_FILE_ERROR;
    const auto header = canonicalHeader(wave.head());
    const bool written =
        writeAll(file, header.data(), header.size()) && writeAll(file, wave.data(), wave.head().dataBytes);
    return closeWrittenFile(file, path, written);
}

}  // namespace avstore
