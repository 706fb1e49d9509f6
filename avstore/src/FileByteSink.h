// A byte sink over an open file that the caller owns and closes.
#pragma once

#include "ByteSink.h"

#include <cstdio>

namespace avstore {

class FileByteSink : public ByteSink {
public:
    explicit FileByteSink(std::FILE *file) : file_(file) {}
    bool write(const void *bytes, std::size_t count) override;
    std::uint32_t failure() const override;  // 8002

private:
    std::FILE *file_;
};

}  // namespace avstore
