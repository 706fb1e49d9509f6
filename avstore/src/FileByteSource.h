// A byte source over an open file that the caller owns and closes.
#pragma once

#include "ByteSource.h"

#include <cstdio>

namespace avstore {

class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(std::FILE *file);
    std::size_t read(void *buffer, std::size_t bytes) override;
    std::uint64_t skip(std::uint64_t bytes) override;  // seeks, clamped to the file's end

private:
    std::FILE *file_;
    std::uint64_t size_ = 0;      // file length when opened
    std::uint64_t position_ = 0;  // bytes consumed so far
};

}  // namespace avstore
