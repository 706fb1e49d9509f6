// Reads the codes of a GIF image's LZW data: the bytes of its data sub-blocks (each a length
// byte, then that many bytes, a length of 0 ending them), taken least significant bit first.
#pragma once

#include "ByteSource.h"

#include <array>
#include <cstdint>

namespace avstore {

class GifDataReader {
public:
    explicit GifDataReader(ByteSource &source) : source_(source) {}
    // The next code of width bits (1..12); -1 when the data has ended or is cut short.
    int readCode(int width);

private:
    int readByte();

    ByteSource &source_;
    std::array<std::uint8_t, 255> block_{};
    unsigned blockBytes_ = 0;
    unsigned position_ = 0;
    bool ended_ = false;
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
};

}  // namespace avstore
