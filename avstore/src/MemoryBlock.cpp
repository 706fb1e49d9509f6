#include "MemoryBlock.h"

#include <cstdint>
#include <cstdlib>
#include <new>

struct MMMemBlock {
    std::uint64_t marker;  // kLiveMarker while the block is allocated
    std::size_t size;      // bytes after the header
    int locks;             // MMMemLock calls not yet matched by MMMemUnlock
    alignas(std::max_align_t) unsigned char data[1];
};

namespace avstore {
namespace {

constexpr std::uint64_t kLiveMarker = 0x4B434F4C424D4D41ULL;  // "AMMBLOCK"
constexpr std::size_t kHeaderBytes = offsetof(MMMemBlock, data);

bool isLive(const MMMemBlock *block) { return block && block->marker == kLiveMarker; }

}  // namespace

MMMemBlock *allocateBlock(std::size_t bytes) {
    if (bytes > SIZE_MAX - kHeaderBytes - 1) return nullptr;
    void *memory = std::calloc(1, kHeaderBytes + (bytes ? bytes : 1));
    if (!memory) return nullptr;
    auto *block = static_cast<MMMemBlock *>(memory);
    block->marker = kLiveMarker;
    block->size = bytes;
    return block;
}

void *lockBlock(MMMemBlock *block) {
    if (!isLive(block)) return nullptr;
    ++block->locks;
    return block->data;
}

int unlockBlock(MMMemBlock *block) {
    if (!isLive(block)) return 0;
    if (block->locks > 0) --block->locks;
    return block->locks;
}

std::size_t blockSize(MMMemBlock *block) { return isLive(block) ? block->size : 0; }

void freeBlock(MMMemBlock *block) {
    if (!isLive(block)) return;
    block->marker = 0;
    std::free(block);
}

}  // namespace avstore
