#include "GifDataReader.h"

namespace avstore {

int GifDataReader::readByte() {
    if (position_ == blockBytes_) {
        std::uint8_t length = 0;
        if (ended_ || source_.read(&length, 1) != 1 || length == 0 || source_.read(block_.data(), length) != length) {
            ended_ = true;
            return -1;
        }
        blockBytes_ = length;
        position_ = 0;
    }
    return block_[position_++];
}

int GifDataReader::readCode(int width) {
    while (bitCount_ < width) {
        const int byte = readByte();
        if (byte < 0) return -1;
        bits_ |= static_cast<std::uint32_t>(byte) << bitCount_;
        bitCount_ += 8;
    }
    const int code = static_cast<int>(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    bitCount_ -= width;
    return code;
}

}  // namespace avstore
