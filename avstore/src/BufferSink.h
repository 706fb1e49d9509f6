// A byte sink that gathers everything in memory, for a record that is stored in one piece.
#pragma once

#include "ByteSink.h"

#include <vector>

namespace avstore {

class BufferSink : public ByteSink {
public:
    bool write(const void *bytes, std::size_t count) override;
    std::uint32_t failure() const override;  // 8003
    const std::vector<std::uint8_t> &bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace avstore
