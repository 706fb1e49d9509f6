#include "MemoryBlockSink.h"

#include "MemoryBlock.h"
#include "avstore32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace avstore {
namespace {

constexpr std::uint64_t kStep = 4096;

std::uint64_t roundUpToStep(std::uint64_t bytes) { return (bytes + kStep - 1) / kStep * kStep; }

}  // namespace

MemoryBlockSink::~MemoryBlockSink() { freeBlock(block_); }

bool MemoryBlockSink::reserve(std::uint64_t needed) {
    if (needed <= capacity_) return true;
    if (needed > SIZE_MAX / 2) return false;
    const std::uint64_t capacity = roundUpToStep(std::max(needed, capacity_ + capacity_ / 2));
    if (!block_) {
        block_ = allocateBlock(static_cast<std::size_t>(capacity));
        if (!block_) return false;
    } else if (!resizeBlock(block_, static_cast<std::size_t>(capacity))) {
        return false;
    }
    capacity_ = capacity;
    return true;
}

bool MemoryBlockSink::write(const void *bytes, std::size_t count) {
    if (!reserve(used_ + count)) return false;
    if (count == 0) return true;
    auto *memory = static_cast<std::uint8_t *>(lockBlock(block_));
    std::memcpy(memory + used_, bytes, count);
    unlockBlock(block_);
    used_ += count;
    return true;
}

std::uint32_t MemoryBlockSink::failure() const { return MM_OUT_OF_MEMORY; }

MMMemBlock *MemoryBlockSink::release() {
    if (!reserve(std::max<std::uint64_t>(used_, 1))) return nullptr;
    const std::uint64_t size = roundUpToStep(std::max<std::uint64_t>(used_, 1));
    if (size < capacity_) resizeBlock(block_, static_cast<std::size_t>(size));  // a failed trim keeps it larger
    MMMemBlock *block = block_;
    block_ = nullptr;
    used_ = capacity_ = 0;
    return block;
}

}  // namespace avstore
