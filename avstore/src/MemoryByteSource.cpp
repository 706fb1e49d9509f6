#include "MemoryByteSource.h"

#include <algorithm>
#include <cstring>

namespace avstore {

std::size_t MemoryByteSource::read(void *buffer, std::size_t bytes) {
    const std::size_t count = std::min(bytes, bytes_.size() - position_);
    if (count) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
}

std::uint64_t MemoryByteSource::skip(std::uint64_t bytes) {
    const std::uint64_t count = std::min<std::uint64_t>(bytes, bytes_.size() - position_);
    position_ += static_cast<std::size_t>(count);
    return count;
}

}  // namespace avstore
