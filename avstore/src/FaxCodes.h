// The one-dimensional Modified Huffman codes of ITU-T T.4: terminating codes for runs of 0 to
// 63 pixels and make-up codes for multiples of 64 up to 1728 (one table each for white and
// black runs), the make-up codes from 1792 to 2560 that both colours share, and the
// end-of-line code 000000000001. Codes are at most 13 bits long.
#pragma once

#include <cstdint>

namespace avstore {

constexpr int kFaxMaxCodeBits = 13;
constexpr std::uint32_t kFaxEndOfLine = 1;  // 000000000001
constexpr int kFaxEndOfLineBits = 12;
constexpr int kFaxLongestMakeUp = 2560;

struct FaxCode {
    std::uint16_t bits;  // the code, in the low `length` bits
    std::uint8_t length;
};

// A run of 0..63 pixels.
FaxCode faxTerminatingCode(bool black, int run);
// A run of 64..2560 pixels, a multiple of 64.
FaxCode faxMakeUpCode(bool black, int run);

// What the next 13 bits of a row begin with.
struct FaxLookup {
    std::uint16_t run = 0;
    std::uint8_t length = 0;  // 0: no code of this colour begins so
    bool makeUp = false;
};
// peek: the next 13 bits of the stream, the first in the highest bit.
FaxLookup lookUpFaxCode(bool black, std::uint32_t peek);

}  // namespace avstore
