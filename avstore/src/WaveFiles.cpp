#include "WaveFiles.h"

#include "FileByteSource.h"
#include "LockedWaveBlock.h"
#include "MemoryBlock.h"
#include "RiffWaveReader.h"
#include "WaveFileName.h"
#include "avstore32.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace avstore {
namespace {

bool writeAll(std::FILE *file, const void *bytes, std::size_t count) {
    return count == 0 || std::fwrite(bytes, 1, count, file) == count;
}

// Closes a file that failed part-way and removes it when it is a regular file, so that no
// half-written wave is left to be taken for a good one.
void discardFile(std::FILE *file, const char *path) {
    struct stat info {};
    const bool regular = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    std::fclose(file);
    if (regular) unlink(path);
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
    const bool written = writeAll(file, header.data(), header.size()) &&
                         writeAll(file, wave.data(), wave.head().dataBytes) && std::fflush(file) == 0;
    if (!written) {
        discardFile(file, path);
        return MM_FILE_ERROR;
    }
    return std::fclose(file) == 0 ? MM_OK : (unlink(path), MM_FILE_ERROR);
}

}  // namespace avstore
