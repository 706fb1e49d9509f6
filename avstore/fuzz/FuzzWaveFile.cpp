// Fuzzes the WAV file reader with whole files; a file that reads is written back and must read
// again as the same block.
#include "MemoryBlock.h"
#include "WaveFiles.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string scratchPath(const char *name) {
    static const std::string directory = [] {
        char pattern[] = "/tmp/fuzz-wave-file-XXXXXX";
        return std::string(mkdtemp(pattern) ? pattern : "/tmp");
    }();
    return directory + "/" + name;
}

bool sameBlock(MMMemBlock *a, MMMemBlock *b) {
    const std::size_t size = avstore::blockSize(a);
    if (size != avstore::blockSize(b)) return false;
    const bool same = std::memcmp(avstore::lockBlock(a), avstore::lockBlock(b), size) == 0;
    avstore::unlockBlock(a);
    avstore::unlockBlock(b);
    return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input = scratchPath("input.wav");
    std::FILE *file = std::fopen(input.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    MMMemBlock *block = nullptr;
    if (avstore::readWaveFile(&block, input.c_str()) != 0) {
        if (block) std::abort();  // a failed read must hand out no block
        return 0;
    }
    const std::string output = scratchPath("output.wav");
    MMMemBlock *again = nullptr;
    if (avstore::writeWaveFile(block, output.c_str()) != 0 || avstore::readWaveFile(&again, output.c_str()) != 0 ||
        !sameBlock(block, again)) {
        std::abort();
    }
    avstore::freeBlock(again);
    avstore::freeBlock(block);
    return 0;
}
