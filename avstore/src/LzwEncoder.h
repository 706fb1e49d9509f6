// The GIF variant of LZW encoding, writing its codes least significant bit first into data
// sub-blocks of up to 255 bytes. Each code is written at the width the decoder will read it
// with; when the table is full (4096 entries) a clear code starts it anew.
#pragma once

#include "StreamBuffer.h"

#include <array>
#include <cstdint>

namespace avstore {

class LzwEncoder {
public:
    // codeSize: 2..8, the width of the root values; every value put must be below 2^codeSize.
    LzwEncoder(StreamBuffer &out, int codeSize);
    void put(unsigned value);
    // Writes the last string, the end code and the closing sub-blocks (the 0 terminator too).
    void finish();

private:
    static constexpr int kMaxCodes = 4096;
    static constexpr int kSlots = 8192;  // hash slots, at most half of them in use

    int find(std::uint32_t key) const;
    void startTable();
    void writeCode(int code);
    void putByte(std::uint8_t byte);

    StreamBuffer &out_;
    int codeSize_;
    int clear_;
    int next_ = 0;             // the next table entry of this encoder
    int codesSinceClear_ = 0;  // decides the width the decoder reads at
    int width_ = 0;
    int prefix_ = -1;          // the code of the string matched so far
    std::array<std::uint32_t, kSlots> keys_{};  // prefix << 8 | value, plus 1; 0 for an empty slot
    std::array<std::uint16_t, kSlots> codes_{};
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
    std::array<std::uint8_t, 255> block_{};
    unsigned blockBytes_ = 0;
};

}  // namespace avstore
