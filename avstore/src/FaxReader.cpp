#include "FaxCodec.h"

#include "FaxCodes.h"
#include "NewPicture.h"
#include "avstore32.h"
#include "phonomir/ByteCodec.h"

#include <cstring>

namespace avstore {
namespace {

constexpr std::uint32_t kUnsupportedFlag = 1u << 1;

// The coded bits, read front to back with the first bit in the high end of each byte.
class FaxBitReader {
public:
    explicit FaxBitReader(ByteSource &source) : source_(source) {}
    // The next 13 bits (zeros past the end) with the first in the highest bit.
    std::uint32_t peek() {
        fill();
        return static_cast<std::uint32_t>(bits_ >> (64 - kFaxMaxCodeBits));
    }
    int available() {
        fill();
        return count_;
    }
    void consume(int bits) {
        bits_ <<= bits;
        count_ -= bits;
    }

private:
    void fill() {
        while (count_ <= 56 && !ended_) {
            std::uint8_t byte = 0;
            if (source_.read(&byte, 1) != 1) {
                ended_ = true;
                break;
            }
            bits_ |= std::uint64_t{byte} << (56 - count_);
            count_ += 8;
        }
    }

    ByteSource &source_;
    std::uint64_t bits_ = 0;  // the next bits, first in the highest
    int count_ = 0;
    bool ended_ = false;
};

// Passes over end-of-line codes and the zero fill bits before them.
void skipEndsOfLine(FaxBitReader &bits) {
    while (bits.available() > 0) {
        const std::uint32_t next12 = bits.peek() >> (kFaxMaxCodeBits - kFaxEndOfLineBits);
        if (next12 == kFaxEndOfLine) {
            bits.consume(kFaxEndOfLineBits);
        } else if (next12 == 0) {
            bits.consume(1);  // a fill bit
        } else {
            return;
        }
    }
}

void paintBlack(std::uint8_t *row, int from, int count) {
    for (int x = from; x < from + count; ++x) row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] | 0x80 >> (x & 7));
}

// One run: make-up codes, then a terminating code. -1 for a bad or cut code.
int readRun(FaxBitReader &bits, bool black, int room) {
    int run = 0;
    for (;;) {
        const FaxLookup code = lookUpFaxCode(black, bits.peek());
        if (code.length == 0 || code.length > bits.available()) return -1;
        bits.consume(code.length);
        run += code.run;
        if (run > room) return -1;
        if (!code.makeUp) return run;
    }
}

bool readRow(FaxBitReader &bits, std::uint8_t *row, int width) {
    bool black = false;
    for (int x = 0; x < width; black = !black) {
        const int run = readRun(bits, black, width - x);
        if (run < 0) return false;
        if (black) paintBlack(row, x, run);
        x += run;
    }
    return true;
}

}  // namespace

std::uint32_t readFax(ByteSource &source, MMMemBlock **picture) {
    std::uint8_t head[8];
    if (source.read(head, sizeof head) != sizeof head) return MM_WRONG_MEDIA_TYPE;
    const phonomir::LittleEndianReader reader(head);
    if (reader.uint32(4) & kUnsupportedFlag) return MM_NOT_SUPPORTED;
    PictureHeader header;
    header.width = static_cast<std::uint16_t>(reader.int16(0));
    header.height = static_cast<std::uint16_t>(reader.int16(2));
    header.bitsPerPixel = 1;
    NewPicture made;
    if (const std::uint32_t status = made.create(header)) return status;
    const PictureView &view = made.view();
    std::memcpy(view.table, "\xFF\xFF\xFF\x00\x00\x00\x00\x00", 8);  // white, black
    FaxBitReader bits(source);
    for (int y = 0; y < view.height(); ++y) {
        skipEndsOfLine(bits);
        if (!readRow(bits, view.row(y), view.width())) return MM_WRONG_MEDIA_TYPE;
    }
    *picture = made.release();
    return MM_OK;
}

}  // namespace avstore
