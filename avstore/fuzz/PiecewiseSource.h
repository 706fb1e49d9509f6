// A byte source for fuzzers that hands out at most `piece` bytes per read, as continued memo
// reads may, so that short reads inside headers and codes are exercised.
#pragma once

#include "ByteSource.h"
#include "MemoryByteSource.h"

#include <algorithm>
#include <span>

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
