#include "LzwEncoder.h"

#include <algorithm>

namespace avstore {
namespace {

unsigned slotOf(std::uint32_t key) { return (key * 2654435761u) >> 19; }  // 13 bits

}  // namespace

LzwEncoder::LzwEncoder(StreamBuffer &out, int codeSize) : out_(out), codeSize_(codeSize), clear_(1 << codeSize) {
    width_ = codeSize_ + 1;
    writeCode(clear_);
    startTable();
}

void LzwEncoder::startTable() {
    keys_.fill(0);
    next_ = clear_ + 2;
    codesSinceClear_ = 0;
    width_ = codeSize_ + 1;
}

int LzwEncoder::find(std::uint32_t key) const {
    for (unsigned slot = slotOf(key);; slot = (slot + 1) % kSlots) {
        if (keys_[slot] == key) return codes_[slot];
        if (keys_[slot] == 0) return -static_cast<int>(slot) - 1;
    }
}

void LzwEncoder::put(unsigned value) {
    if (prefix_ < 0) {
        prefix_ = static_cast<int>(value);
        return;
    }
    const std::uint32_t key = (static_cast<std::uint32_t>(prefix_) << 8 | value) + 1;
    const int found = find(key);
    if (found >= 0) {
        prefix_ = found;
        return;
    }
    writeCode(prefix_);
    if (next_ < kMaxCodes) {
        const unsigned slot = static_cast<unsigned>(-found - 1);
        keys_[slot] = key;
        codes_[slot] = static_cast<std::uint16_t>(next_++);
    } else {
        writeCode(clear_);
        startTable();
    }
    prefix_ = static_cast<int>(value);
}

// The decoder reading its n-th code since a clear has clear + 2 + max(0, n - 1) entries
// (it adds one for each code after the first, up to 4096) and reads with the fewest bits,
// from code size + 1 to 12, whose codes reach past its table.
void LzwEncoder::writeCode(int code) {
    bits_ |= static_cast<std::uint32_t>(code) << bitCount_;
    bitCount_ += width_;
    while (bitCount_ >= 8) {
        putByte(static_cast<std::uint8_t>(bits_));
        bits_ >>= 8;
        bitCount_ -= 8;
    }
    ++codesSinceClear_;
    const int decoderEntries = std::min(kMaxCodes, clear_ + 2 + std::max(0, codesSinceClear_ - 1));
    while (width_ < 12 && 1 << width_ <= decoderEntries) ++width_;
}

void LzwEncoder::putByte(std::uint8_t byte) {
    block_[blockBytes_++] = byte;
    if (blockBytes_ < block_.size()) return;
    out_.put(static_cast<std::uint8_t>(blockBytes_));
    out_.put(block_.data(), blockBytes_);
    blockBytes_ = 0;
}

void LzwEncoder::finish() {
    if (prefix_ >= 0) writeCode(prefix_);
    writeCode(clear_ + 1);
    if (bitCount_ > 0) putByte(static_cast<std::uint8_t>(bits_));
    bitCount_ = 0;
    if (blockBytes_ > 0) {
        out_.put(static_cast<std::uint8_t>(blockBytes_));
        out_.put(block_.data(), blockBytes_);
    }
    blockBytes_ = 0;
    out_.put(0);
}

}  // namespace avstore
