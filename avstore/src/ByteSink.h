// A stream that stored bytes are written to front to back: a file, a memory block, a buffer
// for a memo record, or a counter. The picture encoders use only this interface, so every
// place is written by the same code.
#pragma once

#include <cstddef>
#include <cstdint>

namespace avstore {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Appends count bytes; false when they could not all be stored (see failure()).
    virtual bool write(const void *bytes, std::size_t count) = 0;
    // The status a failed write stands for: 8002 for a file, 8003 for memory.
    virtual std::uint32_t failure() const = 0;
};

// Only adds up the bytes written: the length of an encoding without storing it.
class CountingSink : public ByteSink {
public:
    bool write(const void *, std::size_t count) override {
        bytes_ += count;
        return true;
    }
    std::uint32_t failure() const override { return 0; }
    std::uint64_t bytes() const { return bytes_; }

private:
    std::uint64_t bytes_ = 0;
};

}  // namespace avstore
