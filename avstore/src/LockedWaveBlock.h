// A caller's wave block locked for reading for the length of one call, with its head decoded
// and checked against the block's real size. Unlocks on destruction.
#pragma once

#include "WaveLayout.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

class LockedWaveBlock {
public:
    explicit LockedWaveBlock(MMMemBlock *block);
    ~LockedWaveBlock();
    LockedWaveBlock(const LockedWaveBlock &) = delete;
    LockedWaveBlock &operator=(const LockedWaveBlock &) = delete;

    // 0, 8010 (cannot lock) or 8008 (the head's length runs past the block, or its format is
    // not a usable PCM format).
    std::uint32_t status() const { return status_; }
    const WaveBlockHead &head() const { return head_; }
    const std::uint8_t *data() const { return bytes_ + kWaveBlockHeadBytes; }

private:
    MMMemBlock *block_;
    const std::uint8_t *bytes_ = nullptr;
    WaveBlockHead head_;
    std::uint32_t status_ = 0;
};

}  // namespace avstore
