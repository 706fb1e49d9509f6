#include "LockedWaveBlock.h"

#include "MemoryBlock.h"
#include "avstore32.h"

namespace avstore {

LockedWaveBlock::LockedWaveBlock(MMMemBlock *block) : block_(block) {
    bytes_ = static_cast<const std::uint8_t *>(lockBlock(block_));
    if (!bytes_) {
        status_ = MM_CANNOT_LOCK;
        return;
    }
    const std::size_t size = blockSize(block_);
    if (size < kWaveBlockHeadBytes) {
        status_ = MM_NOT_PCM_WAVE;
        return;
    }
    head_ = decodeBlockHead(std::span<const std::uint8_t, kWaveBlockHeadBytes>(bytes_, kWaveBlockHeadBytes));
    if (head_.dataBytes > size - kWaveBlockHeadBytes || !isUsableFormat(head_.format)) status_ = MM_NOT_PCM_WAVE;
}

LockedWaveBlock::~LockedWaveBlock() {
    if (bytes_) unlockBlock(block_);
}

}  // namespace avstore
