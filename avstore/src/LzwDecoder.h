// The GIF variant of LZW decoding: codes widen from code size + 1 up to 12 bits as the table
// grows; a full table of 4096 entries stays in use until a clear code comes (deferred clear);
// a code one past the table (KwKwK) stands for the previous string plus its own first value.
// A code further past the table, or a first code after a clear that is no root, is an error.
#pragma once

#include "GifDataReader.h"

#include <array>
#include <cstdint>

namespace avstore {

// Receives the decoded values in order; says when it needs no more.
class LzwOutput {
public:
    virtual ~LzwOutput() = default;
    virtual void put(unsigned value) = 0;
    virtual bool full() const = 0;
};

class LzwDecoder {
public:
    static constexpr int kMaxCodes = 4096;

    // codeSize: 2..11, the width of the root values.
    LzwDecoder(GifDataReader &codes, int codeSize);
    // Decodes until output is full (true), or the data ends, an end code comes or a code is
    // bad before that (false).
    bool decode(LzwOutput &output);

private:
    void reset();
    void add(int previous, unsigned firstValue);
    void emit(int code, LzwOutput &output);

    GifDataReader &codes_;
    int codeSize_;
    int clear_;
    int width_ = 0;
    int next_ = 0;
    std::array<std::uint16_t, kMaxCodes> prefix_{};
    std::array<std::uint16_t, kMaxCodes> suffix_{};  // the last value of the entry's string
    std::array<std::uint16_t, kMaxCodes> first_{};   // the first value of the entry's string
    std::array<std::uint16_t, kMaxCodes> length_{};
    std::array<std::uint16_t, kMaxCodes> string_{};  // one string, gathered back to front
};

}  // namespace avstore
