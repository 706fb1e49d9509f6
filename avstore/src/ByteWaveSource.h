// A wave source over bytes in memory that the caller keeps alive. Used by tests and fuzzers.
#pragma once

#include "WaveSource.h"

#include <span>

namespace avstore {

class ByteWaveSource : public WaveSource {
public:
    explicit ByteWaveSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(void *buffer, std::size_t bytes) override;
    std::uint64_t skip(std::uint64_t bytes) override;

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace avstore
