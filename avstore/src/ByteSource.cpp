#include "ByteSource.h"

#include <algorithm>

namespace avstore {

std::uint64_t ByteSource::skip(std::uint64_t bytes) {
    std::uint8_t scratch[4096];
    std::uint64_t skipped = 0;
    while (skipped < bytes) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof scratch, bytes - skipped));
        const std::size_t got = read(scratch, want);
        skipped += got;
        if (got < want) break;
    }
    return skipped;
}

}  // namespace avstore
