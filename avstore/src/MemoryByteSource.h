// A byte source over bytes in memory that the caller keeps alive: a memory record, tests and
// fuzzers.
#pragma once

#include "ByteSource.h"

#include <span>

namespace avstore {

class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(void *buffer, std::size_t bytes) override;
    std::uint64_t skip(std::uint64_t bytes) override;

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace avstore
