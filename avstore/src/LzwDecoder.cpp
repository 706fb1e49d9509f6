#include "LzwDecoder.h"

namespace avstore {

LzwDecoder::LzwDecoder(GifDataReader &codes, int codeSize) : codes_(codes), codeSize_(codeSize), clear_(1 << codeSize) {
    for (int root = 0; root < clear_; ++root) {
        suffix_[root] = first_[root] = static_cast<std::uint16_t>(root);
        length_[root] = 1;
    }
    reset();
}

void LzwDecoder::reset() {
    width_ = codeSize_ + 1;
    next_ = clear_ + 2;
}

void LzwDecoder::add(int previous, unsigned firstValue) {
    prefix_[next_] = static_cast<std::uint16_t>(previous);
    suffix_[next_] = static_cast<std::uint16_t>(firstValue);
    first_[next_] = first_[previous];
    length_[next_] = static_cast<std::uint16_t>(length_[previous] + 1);
    ++next_;
    if (next_ == 1 << width_ && width_ < 12) ++width_;
}

void LzwDecoder::emit(int code, LzwOutput &output) {
    const int length = length_[code];
    for (int i = length - 1; i >= 0; --i) {
        string_[i] = suffix_[code];
        code = prefix_[code];
    }
    for (int i = 0; i < length && !output.full(); ++i) output.put(string_[i]);
}

bool LzwDecoder::decode(LzwOutput &output) {
    const int end = clear_ + 1;
    int previous = -1;
    while (!output.full()) {
        const int code = codes_.readCode(width_);
        if (code < 0 || code == end) return false;
        if (code == clear_) {
            reset();
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code > clear_) return false;  // only roots are known after a clear
        } else if (next_ < kMaxCodes) {
            if (code > next_) return false;
            add(previous, code < next_ ? first_[code] : first_[previous]);  // code == next_: KwKwK
        }  // a full table takes every 12-bit code and grows no more
        emit(code, output);
        previous = code;
    }
    return true;
}

}  // namespace avstore
