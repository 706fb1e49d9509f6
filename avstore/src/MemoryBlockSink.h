// A byte sink that writes into a movable memory block of its own, grown in steps of 4096
// bytes (several steps at a time as it grows, so that writing stays linear). The block's size
// is always a multiple of 4096; release() hands it over.
#pragma once

#include "ByteSink.h"

struct MMMemBlock;

namespace avstore {

class MemoryBlockSink : public ByteSink {
public:
    MemoryBlockSink() = default;
    ~MemoryBlockSink() override;  // frees a block not released
    MemoryBlockSink(const MemoryBlockSink &) = delete;
    MemoryBlockSink &operator=(const MemoryBlockSink &) = delete;

    bool write(const void *bytes, std::size_t count) override;
    std::uint32_t failure() const override;  // 8003
    std::uint64_t bytes() const { return used_; }
    // Trims the block to the written bytes rounded up to 4096 and hands it over (null when
    // nothing could be allocated). The caller frees it.
    MMMemBlock *release();

private:
    bool reserve(std::uint64_t needed);

    MMMemBlock *block_ = nullptr;
    std::uint64_t used_ = 0;
    std::uint64_t capacity_ = 0;
};

}  // namespace avstore
