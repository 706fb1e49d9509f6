// Fuzzes the memo record reader (tag, then a RIFF/WAVE stream) over a source that delivers
// the record in irregular pieces, as continued memo reads may.
#include "MemoryBlock.h"
#include "PiecewiseSource.h"
#include "WaveMemos.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return 0;
    PiecewiseSource source(std::span<const std::uint8_t>(data + 1, size - 1), 1 + data[0] % 64);
    MMMemBlock *block = nullptr;
    const std::uint32_t status = avstore::readTaggedWave(source, &block);
    if ((status == 0) != (block != nullptr)) std::abort();
    if (block && avstore::blockSize(block) < 12) std::abort();
    avstore::freeBlock(block);
    return 0;
}
