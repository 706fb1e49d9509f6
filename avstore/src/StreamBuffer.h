// The 16384-byte output buffer of the bit-stream encoders (GIF, fax): bytes are collected
// here and written to the sink whenever the buffer is full and at the end. After a failed
// write every later call fails too, so an encoder may check only at its end.
#pragma once

#include "ByteSink.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace avstore {

class StreamBuffer {
public:
    static constexpr std::size_t kBytes = 16384;

    explicit StreamBuffer(ByteSink &sink) : sink_(sink) {}

    void put(std::uint8_t byte) {
        if (used_ == kBytes) flush();
        buffer_[used_++] = byte;
    }
    void put(const std::uint8_t *bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) put(bytes[i]);
    }
    // Writes what is collected; 0, or the sink's failure status (also for an earlier one).
    std::uint32_t flush();

private:
    ByteSink &sink_;
    std::array<std::uint8_t, kBytes> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace avstore
