// A stream of stored bytes read front to back: a file, a memo field or a memory span. The
// wave reader and the picture decoders use only this interface, so every place is read by
// the same code.
#pragma once

#include <cstddef>
#include <cstdint>

namespace avstore {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to bytes bytes into buffer; returns how many arrived (fewer only at the end
    // of the stream or on a failure).
    virtual std::size_t read(void *buffer, std::size_t bytes) = 0;
    // Passes over up to bytes bytes; returns how many were passed (fewer at the end).
    virtual std::uint64_t skip(std::uint64_t bytes);
};

}  // namespace avstore
