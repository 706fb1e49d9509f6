// Fuzzes the memo record reader (tag, then a RIFF/WAVE stream) over a source that delivers
// the record in irregular pieces, as continued memo reads may.
#include "MemoryByteSource.h"
#include "MemoryBlock.h"
#include "WaveMemos.h"

#include <algorithm>
#include <cstdlib>
#include <span>

namespace {

// Hands out at most `piece` bytes per read, so short reads inside chunk headers are exercised.
class PiecewiseSource : public avstore::ByteSource {
public:
    PiecewiseSource(std::span<const std::uint8_t> bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
    std::size_t read(void *buffer, std::size_t bytes) override {
        std::size_t total = 0;
        auto *out = static_cast<std::uint8_t *>(buffer);
        while (total < bytes) {
            const std::size_t got = bytes_.read(out + total, std::min(piece_, bytes - total));
            if (got == 0) break;
            total += got;
        }
        return total;
    }

private:
    avstore::MemoryByteSource bytes_;
    std::size_t piece_;
};

}  // namespace

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
